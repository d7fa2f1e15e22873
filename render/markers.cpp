// Point markers for gun, ground, attach, NATH and special points.
#include "render/markers.h"

#include <GL/gl.h>

#include "state/counts.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

uint32_t used_points(uint32_t count) {
    return clamp_count(count, MAX_PNT);
}

bool marked(uint32_t index, uint32_t current, uint32_t tab) {
    return view.show_all_points || (index == current && view.edit_tab == tab && view.show_location);
}

void mark_point_list(const PointList& list, uint32_t count, int sobj, uint32_t tab,
                     const GLubyte colour[3]) {
    for (uint32_t i = 0; i < used_points(count); ++i) {
        if (list.submodel[i] != uint32_t(sobj) || !marked(i, view.cur_point, tab))
            continue;
        glColor3ubv(colour);
        draw_cross_dir(list.location[i], list.direction[i]);
    }
}

void line(Vec3 a, Vec3 b) {
    glVertex3f(a.x, a.y, a.z);
    glVertex3f(b.x, b.y, b.z);
}

} // namespace

void draw_cross(Vec3 p) {
    line({p.x - 2, p.y, p.z}, {p.x + 2, p.y, p.z});
    line({p.x, p.y - 2, p.z}, {p.x, p.y + 2, p.z});
    line({p.x, p.y, p.z - 2}, {p.x, p.y, p.z + 2});
}

void draw_cross_dir(Vec3 p, Vec3 d) {
    draw_cross(p);
    glColor3ub(255, 255, 255);
    line(p, {p.x + 4 * d.x, p.y + 4 * d.y, p.z + 4 * d.z});
}

void draw_markers(int sobj) {
    static const GLubyte red[3] = {255, 0, 0};
    static const GLubyte green[3] = {0, 255, 0};
    static const GLubyte magenta[3] = {255, 0, 255};
    static const GLubyte cyan[3] = {0, 255, 255};
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    // Lines are lit with the GL's starting normal, not the last one a model list left behind.
    glNormal3f(0, 0, 1);
    glBegin(GL_LINES);
    mark_point_list(model.gun_points, model.num_gun_points, sobj, 0, red);
    mark_point_list(model.ground_points, model.num_ground_points, sobj, 1, green);
    mark_point_list(model.attach_points, model.num_attach_points, sobj, 2, magenta);
    mark_point_list(model.nath_points, model.num_nath_points, sobj, 3, cyan);
    // Special points belong to no subobject and are drawn in subobject 0's frame.
    if (sobj == 0) {
        glColor3ub(255, 255, 0);
        for (uint32_t i = 0; i < used_points(model.num_special_points); ++i)
            if (marked(i, view.cur_special, 4))
                draw_cross(model.special_points.location[i]);
    }
    glEnd();
}
