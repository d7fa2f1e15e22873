// The one Polymodel store and clear_model.
#include "state/polymodel.h"

#include <algorithm>
#include <cstring>

#include "state/prefault.h"
#include "state/view_state.h"

alignas(LARGE_PAGE_BYTES) Polymodel model;

namespace {

void clear_subobject_slots() {
    for (int s = 0; s < MAX_SOBJ; ++s) {
        model.sobj_name[s][0] = '\0';
        model.sobj_props[s][0] = '\0';
        model.sobj_num_verts[s] = 0;
        model.sobj_num_polys[s] = 0;
        model.sobj_facing[s] = 0;
        model.sobj_rotate[s] = 0;
        model.sobj_glow[s] = 0;
        model.sobj_fov[s] = 0;
        model.pos_first_key[s] = 0;
        model.pos_num_keys[s] = 0;
        model.rot_first_key[s] = 0;
        model.rot_num_keys[s] = 0;
    }
}

void clear_keys() {
    std::fill_n(model.frame_used, MAX_ANI, 0);
    std::fill_n(model.pos_key_frame, MAX_ANI, 0u);
    std::fill_n(model.pos_key_pos, MAX_ANI, Vec3{});
    std::fill_n(model.rot_key_frame, MAX_ANI, 0u);
    std::fill_n(model.rot_key_axis, MAX_ANI, Vec3{});
    std::fill_n(model.rot_key_angle, MAX_ANI, 0u);
    // Only the start of the frame list is cleared; num_used_frames bounds what is read.
    std::fill_n(model.used_frames, MAX_SOBJ, 0u);
}

// The selections that point into the model go back to the first entry; the highlight check
// boxes carry over to the new model's first subobject and texture.
void reset_model_selections() {
    view.cur_sobj = 0;
    view.cur_texture = 0;
    view.cur_keyframe = 0;
    view.cur_point = 0;
    view.cur_special = 0;
    view.cur_battery = 0;
    std::fill_n(view.spin_angle, MAX_SOBJ, 0.0f);
    std::fill_n(view.sobj_highlight, MAX_SOBJ, 0);
    std::fill_n(view.texture_highlight, MAX_TEXTURE, 0);
    view.sobj_highlight[0] = view.highlight_sobj;
    view.texture_highlight[0] = view.highlight_texture;
}

} // namespace

void clear_model() {
    model.num_vertices = 0;
    model.num_polygons = 0;
    model.num_subobjects = 0;
    model.num_used_frames = 0;
    model.num_gun_points = 0;
    model.num_ground_points = 0;
    model.num_attach_points = 0;
    model.num_nath_points = 0;
    model.num_special_points = 0;
    model.num_batteries = 0;
    model.pinf_text[0] = '\0';
    model.any_rotate = 0;
    clear_subobject_slots();
    clear_keys();
    reset_model_selections();
}
