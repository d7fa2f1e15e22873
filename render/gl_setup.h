// Fixed OpenGL state and the orthographic projection.
#pragma once

// Sets the fixed GL state once after the context is created.
void init_gl_state();

// Wrapping (repeat) and filters (nearest) of the bound 2-D texture, set on the default texture
// here and on each texture object the loader makes.
void set_texture_parameters();

// Sets the viewport and projection for a width x height client area (height 0 counts as 1),
// recomputing view.zoom unless it is locked.
void set_projection(int width, int height);

// The orthographic volume glOrtho receives for a client area and zoom.
struct OrthoVolume {
    double left, right, bottom, top, near_z, far_z;
};

// zoom is the half-extent along the shorter side; depth runs from -5 x zoom to 5 x zoom.
OrthoVolume projection_volume(int width, int height, float zoom);
