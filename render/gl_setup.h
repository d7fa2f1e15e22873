// Fixed OpenGL state and the orthographic projection.
#pragma once

// Sets the fixed GL state once after the context is created.
void init_gl_state();

// Sets the viewport and projection for a width x height client area (height 0 counts as 1),
// recomputing view.zoom unless it is locked.
void set_projection(int width, int height);
