// Vector helpers shared by the property derivations and the importers.
// Arithmetic runs in double precision; every stored result is rounded to float.
#pragma once

#include "state/vec3.h"

float vec_length(Vec3 a);
Vec3 vec_normalize(Vec3 a);
void vec_normalize_in_place(Vec3& a);
float vec_dot(Vec3 a, Vec3 b);
Vec3 vec_cross_unit(Vec3 a, Vec3 b);
float vec_angle_deg(Vec3 a, Vec3 b);
void triangle_normal(Vec3 p0, Vec3 p1, Vec3 p2, Vec3& out);
