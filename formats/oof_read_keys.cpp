// The PANI and RANI chunks: per-subobject windows of position and rotation keys, and the list
// of frame numbers that the keys use.
#include <cstdint>

#include "formats/oof_field_decode.h"
#include "formats/oof_read_chunks.h"
#include "state/messages.h"
#include "state/polymodel.h"

namespace {

struct KeyWindows {
    uint32_t* first_key;
    uint32_t* num_keys;
    const char* too_many;
    const char* frame_too_big;
};

uint32_t use_frame(uint32_t frame, const char* frame_too_big) {
    if (frame >= MAX_ANI)
        fatal_error(frame_too_big, 7);
    model.frame_used[frame] = 1;
    return frame;
}

// Reads every subobject's block header and hands each key's index and bytes to read_key.
template <class ReadKey>
void read_key_blocks(ByteCursor& cursor, KeyWindows w, size_t key_size, ReadKey read_key) {
    uint64_t total = 0;
    for (uint32_t s = 0; s < model.num_subobjects; ++s) {
        uint32_t n = cursor.u32();
        if (total + n > MAX_ANI)
            fatal_error(w.too_many, 7);
        w.num_keys[s] = n;
        w.first_key[s] = uint32_t(total);
        cursor.skip(2 * 4); // smallest and largest frame of the block
        total += n;
        uint32_t first = w.first_key[s];
        read_records(cursor, n, key_size,
                     [&](uint32_t j, const uint8_t* p) { read_key(first + j, p); });
    }
}

// The frame list covers the frames of both key kinds read so far, in ascending order.
void rebuild_frame_list() {
    uint32_t count = 0;
    for (uint32_t frame = 0; frame < MAX_ANI; ++frame)
        if (model.frame_used[frame])
            model.used_frames[count++] = frame;
    model.num_used_frames = count;
}

} // namespace

void read_pani(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    KeyWindows windows{model.pos_first_key, model.pos_num_keys,
                       "pani: number keys > MAX_ANI... ouch", "pani: frame > MAX_ANI... ouch"};
    read_key_blocks(cursor, windows, 16, [&](uint32_t i, const uint8_t* p) {
        model.pos_key_frame[i] = use_frame(le_u32(p), windows.frame_too_big);
        model.pos_key_pos[i] = le_vec3(p + 4);
    });
    rebuild_frame_list();
}

void read_rani(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    KeyWindows windows{model.rot_first_key, model.rot_num_keys,
                       "rani: number keys > MAX_ANI... ouch", "rani: frame > MAX_ANI... ouch"};
    read_key_blocks(cursor, windows, 20, [&](uint32_t i, const uint8_t* p) {
        model.rot_key_frame[i] = use_frame(le_u32(p), windows.frame_too_big);
        model.rot_key_axis[i] = le_vec3(p + 4);
        model.rot_key_angle[i] = le_u32(p + 16);
    });
    rebuild_frame_list();
}
