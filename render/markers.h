// Point markers: crosses for the Edit Window's points, with white direction lines.
#pragma once

#include "state/vec3.h"

// Marks the points of subobject sobj that the Edit Window switches ask for (special points
// with subobject 0).
void draw_markers(int sobj);

// Three axis-parallel segments of length 4 centred on p, inside an open GL_LINES batch.
void draw_cross(Vec3 p);

// draw_cross(p) in the current colour, then a white segment from p to p + 4 x d.
void draw_cross_dir(Vec3 p, Vec3 d);
