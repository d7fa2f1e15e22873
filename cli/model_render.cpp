// One frame of the model: the viewer's projection, lists and frame drawing, headless.
#include "cli/model_render.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/sobj_transform.h"
#include "render/texture_loader.h"
#include "state/polymodel.h"

namespace {

// Keys are drawn for the last keyframe at or before the frame; before the first one, or
// without a frame, the model stands at rest.
void select_frame(std::optional<uint32_t> frame) {
    view.positions_on = 0;
    view.cur_keyframe = 0;
    if (!frame)
        return;
    uint32_t count = std::min<uint32_t>(model.num_used_frames, MAX_ANI);
    for (uint32_t i = 0; i < count && model.used_frames[i] <= *frame; ++i) {
        view.positions_on = 1;
        view.cur_keyframe = i;
    }
}

// The smallest zoom (half-extent along the shorter side) that holds every vertex as drawn,
// with a small margin, and depth within the projection's +-5 x zoom.
float fitting_zoom(int width, int height) {
    Mat4 identity = mat_identity();
    Mat4 view_mat = view_matrix(identity);
    Mat4 sobj_mats[MAX_SOBJ];
    int num_sobj = int(std::min<uint32_t>(model.num_subobjects, MAX_SOBJ));
    for (int s = 0; s < num_sobj; ++s)
        sobj_mats[s] = sobj_matrix(s, view_mat);
    float half_x = 0, half_y = 0, depth = 0;
    uint32_t count = std::min<uint32_t>(model.num_vertices, MAX_VECT);
    for (uint32_t v = 0; v < count; ++v) {
        int s = model.vertex_sobj[v];
        Vec3 p = mat_transform_point(s < num_sobj ? sobj_mats[s] : view_mat, model.vertices[v]);
        half_x = std::max(half_x, std::fabs(p.x));
        half_y = std::max(half_y, std::fabs(p.y));
        depth = std::max(depth, std::fabs(p.z));
    }
    float aspect = float(width) / float(height);
    float zoom =
        width > height ? std::max(half_y, half_x / aspect) : std::max(half_x, half_y * aspect);
    zoom = std::max(zoom * 1.05f, depth / 5.0f);
    return zoom > 0 && std::isfinite(zoom) ? zoom : 1.0f;
}

} // namespace

ModelRenderer::ModelRenderer(const RenderSettings& settings)
    : settings_(settings), gl_(settings.width, settings.height) {
    init_gl_state();
}

Image ModelRenderer::draw() {
    view.show_textures = settings_.textures;
    if (settings_.textures)
        load_textures();
    else
        release_textures();
    view.rot_x = settings_.rot_x;
    view.rot_y = settings_.rot_y;
    select_frame(settings_.frame);
    view.zoom_locked = settings_.fit;
    if (settings_.fit)
        view.zoom = fitting_zoom(settings_.width, settings_.height);
    set_projection(settings_.width, settings_.height);
    rebuild_model_lists();
    if (settings_.transparent)
        glClearColor(0, 0, 0, 0);
    draw_frame();
    return gl_.read_image();
}
