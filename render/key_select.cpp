// Key selection: the key at the target frame, else the latest earlier key above frame 0.
#include "render/key_select.h"

#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

// The subobject's key window, cut to the store's table so a bad window never reads outside it.
struct KeyWindow {
    uint32_t first;
    uint32_t count;
};

KeyWindow clamp_window(uint32_t first, uint32_t count) {
    if (first >= uint32_t(MAX_ANI))
        return {first, 0};
    uint32_t room = uint32_t(MAX_ANI) - first;
    return {first, count < room ? count : room};
}

uint32_t select_key(const uint32_t* frames, KeyWindow window, uint32_t target,
                    bool last_only_by_equality) {
    uint32_t candidate = NO_KEY;
    // The best frame starts at 0 and must be beaten, so a key at frame 0 is never a candidate.
    uint32_t best_frame = 0;
    for (uint32_t i = 0; i < window.count; ++i) {
        uint32_t key = window.first + i;
        uint32_t frame = frames[key];
        if (frame == target)
            return key;
        if (last_only_by_equality && i + 1 == window.count)
            break;
        if (frame <= target && frame > best_frame) {
            best_frame = frame;
            candidate = key;
        }
    }
    return candidate;
}

} // namespace

uint32_t target_frame() {
    return view.cur_keyframe < uint32_t(MAX_ANI) ? model.used_frames[view.cur_keyframe] : NO_KEY;
}

uint32_t select_position_key(int sobj, uint32_t target) {
    if (target == NO_KEY)
        return NO_KEY;
    KeyWindow window = clamp_window(model.pos_first_key[sobj], model.pos_num_keys[sobj]);
    return select_key(model.pos_key_frame, window, target, false);
}

uint32_t select_rotation_key(int sobj, uint32_t target) {
    if (target == NO_KEY)
        return NO_KEY;
    KeyWindow window = clamp_window(model.rot_first_key[sobj], model.rot_num_keys[sobj]);
    return select_key(model.rot_key_frame, window, target, true);
}

uint32_t last_rotation_key(int sobj) {
    KeyWindow window = clamp_window(model.rot_first_key[sobj], model.rot_num_keys[sobj]);
    return window.count == 0 ? NO_KEY : window.first + window.count - 1;
}
