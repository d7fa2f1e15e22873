// The per-subobject matrix: offsets, position and rotation keys, $facing and $rotate, root first.
#include "render/sobj_transform.h"

#include "render/draw_tables.h"
#include "render/key_select.h"
#include "state/view_state.h"

namespace {

// Turns the subobject toward the viewer: keep the position reached so far, but start again
// from the view matrix's orientation and undo the view rotation.
Mat4 face_viewer(const Mat4& current, const Mat4& view_mat, int f) {
    Mat4 m = view_mat;
    m.m[12] = current.m[12];
    m.m[13] = current.m[13];
    m.m[14] = current.m[14];
    m = mat_rotate(m, view.rot_y, {0, 1, 0});
    m = mat_rotate(m, view.rot_x, {-1, 0, 0});
    return mat_rotate(m, model.facing[f].facing_angle, model.facing[f].facing_axis);
}

Mat4 apply_link(Mat4 m, const Mat4& view_mat, int f, uint32_t target) {
    uint32_t rot_key = NO_KEY;
    if (view.positions_on) {
        uint32_t pos_key = select_position_key(f, target);
        rot_key = select_rotation_key(f, target);
        if (pos_key != NO_KEY)
            m = mat_translate(m, model.pos_key_pos[pos_key]);
    }
    m = mat_translate(m, model.sobj_offset[f]);
    if (view.facing_on && model.sobj_facing[f])
        m = face_viewer(m, view_mat, f);
    if (rot_key != NO_KEY)
        m = mat_rotate(m, float(model.rot_key_angle[rot_key] / 182.0), model.rot_key_axis[rot_key]);
    if (view.rotate_on && model.sobj_rotate[f]) {
        uint32_t last = last_rotation_key(f);
        if (last != NO_KEY)
            m = mat_rotate(m, view.spin_angle[f], model.rot_key_axis[last]);
    }
    return m;
}

} // namespace

Mat4 view_matrix(const Mat4& base) {
    Mat4 m = mat_rotate(base, view.rot_x, {1, 0, 0});
    m = mat_rotate(m, view.rot_y, {0, 1, 0});
    return mat_scale(m, {-1, 1, 1});
}

Mat4 sobj_matrix(int sobj, const Mat4& view_mat) {
    int chain[MAX_SOBJ];
    int length = parent_chain(sobj, chain);
    uint32_t target = target_frame();
    Mat4 m = view_mat;
    for (int i = 0; i < length; ++i)
        m = apply_link(m, view_mat, chain[i], target);
    return m;
}
