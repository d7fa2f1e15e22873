// The rebuild (batches into display lists) and the frame (view, hierarchy, glow, markers).
#include "render/model_draw.h"

#include <GL/gl.h>

#include "render/batches.h"
#include "render/draw_tables.h"
#include "render/gl_current.h"
#include "render/markers.h"
#include "render/sobj_transform.h"
#include "state/view_state.h"

namespace {

constexpr uint32_t NO_SLOT = 0xFFFFFFFFu;

// Textures with transparent texels go on a black base colour and are added to what lies
// behind; opaque ones are drawn on white. Only fully opaque texels pass the alpha test.
void select_texture_slot(uint32_t slot) {
    const TextureSlot& texture = model.textures[slot];
    if (texture.has_alpha) {
        glColor3ub(0, 0, 0);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
        glColor3ub(255, 255, 255);
    }
    glCallList(texture.gl_list);
}

// The corners go to the list being compiled one call per attribute: Mesa stores these
// directly, where an array draw in a list is taken apart corner by corner anyway. A normal equal
// to the one sent before is left out, since a corner takes the current normal (flat shading and
// plane faces repeat theirs). Flat batches carry no texture coordinates.
class CornerSender {
  public:
    void send(const DrawBatch& batch) {
        const DrawTables& t = draw_tables;
        uint32_t end = batch.first + batch.count;
        bool textured = batch.kind == BATCH_TEXTURED;
        glBegin(GL_POLYGON);
        for (uint32_t a = batch.first; a < end; ++a) {
            send_normal(t.batch_normals[a]);
            if (textured)
                glTexCoord2fv(&t.batch_texcoords[a].u);
            glVertex3fv(&t.batch_vertices[a].x);
        }
        glEnd();
    }

  private:
    void send_normal(const Vec3& normal) {
        if (sent_any_ && normal == last_)
            return;
        glNormal3fv(&normal.x);
        last_ = normal;
        sent_any_ = true;
    }

    bool sent_any_ = false; // a list starts with whatever normal is current where it is called
    Vec3 last_{};
};

void compile_batches(const SobjBatchRange& range) {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    bool texturing = false;
    uint32_t current_slot = NO_SLOT;
    CornerSender corners;
    for (uint32_t i = 0; i < range.count; ++i) {
        const DrawBatch& batch = draw_tables.batches[range.first + i];
        if (batch.kind == BATCH_FLAT) {
            glColor3ub(batch.colour[0], batch.colour[1], batch.colour[2]);
        } else {
            if (!texturing) {
                texturing = true;
                glAlphaFunc(GL_EQUAL, 1.0f);
                glEnable(GL_ALPHA_TEST);
                glEnable(GL_TEXTURE_2D);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            }
            // The texture is bound again only when the slot changes.
            if (batch.colour[0] != current_slot) {
                current_slot = batch.colour[0];
                select_texture_slot(current_slot);
            }
        }
        corners.send(batch);
    }
}

void set_emission(const float rgba[4]) {
    glMaterialfv(GL_FRONT, GL_EMISSION, rgba);
}

void draw_subobject(int b, const Mat4& view_mat) {
    glLoadMatrixf(sobj_matrix(b, view_mat).m);
    bool glowing = view.glow_on && model.sobj_glow[b];
    if (glowing) {
        const GlowRecord& g = model.glow[b];
        const float emission[4] = {g.glow_color[0], g.glow_color[1], g.glow_color[2],
                                   g.glow_amount};
        set_emission(emission);
    }
    if (draw_tables.sobj_list_built[b])
        glCallList(draw_tables.sobj_list[b]);
    if (glowing) {
        const float no_emission[4] = {0, 0, 0, 1};
        set_emission(no_emission);
    }
    if (view.show_location || view.show_all_points)
        draw_markers(b);
    // A software renderer copies its whole fragment state at every texture change into the
    // frame's pending work; handing each subobject on keeps that small (several times faster
    // on Mesa's llvmpipe) and changes no pixel.
    glFlush();
}

} // namespace

void build_sobj_list(int sobj) {
    make_gl_current();
    DrawTables& t = draw_tables;
    if (t.sobj_list_built[sobj])
        glDeleteLists(t.sobj_list[sobj], 1);
    t.sobj_list_built[sobj] = 1;
    t.sobj_list[sobj] = glGenLists(1);
    glNewList(t.sobj_list[sobj], GL_COMPILE);
    compile_batches(t.sobj_batches[sobj]);
    glEndList();
}

void rebuild_model_lists() {
    make_gl_current();
    glClearColor(view.clear_red, view.clear_green, view.clear_blue, 1.0f);
    if (!view.model_loaded)
        return;
    build_batches();
    int num_sobj = used_subobjects();
    for (int s = 0; s < num_sobj; ++s)
        build_sobj_list(s);
}

void draw_frame() {
    if (view.cull_face)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, view.fill_poly ? GL_FILL : GL_LINE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The matrices are composed on the CPU (the same products the matrix calls would form)
    // and loaded per subobject; the stack is left as it was found.
    glMatrixMode(GL_MODELVIEW);
    Mat4 base;
    glGetFloatv(GL_MODELVIEW_MATRIX, base.m);
    glPushMatrix();
    Mat4 view_mat = view_matrix(base);
    int num_sobj = used_subobjects();
    for (int b = 0; b < num_sobj; ++b)
        draw_subobject(b, view_mat);
    glPopMatrix();
    glFlush();
}
