// The fixed GL state set once per context, and the viewport and projection per resize.
#include "render/gl_setup.h"

#include <GL/gl.h>

#include "render/gl_current.h"
#include "state/polymodel.h"
#include "state/view_state.h"

void set_texture_parameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void init_gl_state() {
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CW);
    glEnable(GL_LIGHTING);

    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Given while the modelview matrix is still the identity, so the light stays put relative
    // to the viewer whatever the model's rotation.
    const GLfloat position[] = {0.0f, 350.0f, 350.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHT0);

    glEnable(GL_COLOR_MATERIAL);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);

    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    set_texture_parameters();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
}

OrthoVolume projection_volume(int width, int height, float zoom) {
    double z = zoom;
    if (height < 1)
        height = 1;
    // A zero width would make the vertical extent infinite; the viewport draws nothing then
    // anyway, so the ratio uses one pixel instead.
    if (width < 1)
        width = 1;
    if (width > height) {
        double x = z * width / height;
        return {-x, x, -z, z, -5.0 * z, 5.0 * z};
    }
    double y = z * height / width;
    return {-z, z, -y, y, -5.0 * z, 5.0 * z};
}

void set_projection(int width, int height) {
    make_gl_current();
    if (view.model_loaded && !view.zoom_locked)
        view.zoom = view.size_to_poly ? 2.0f * model.model_radius : 150.0f;
    if (height == 0)
        height = 1;
    view.view_width = width;
    view.view_height = height;

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // With zoom 0 the volume is empty and GL would reject it, leaving the identity.
    if (view.zoom != 0.0f) {
        OrthoVolume v = projection_volume(width, height, view.zoom);
        glOrtho(v.left, v.right, v.bottom, v.top, v.near_z, v.far_z);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
