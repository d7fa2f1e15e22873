// Column-major 4x4 matrices composed exactly the way the fixed-function matrix calls compose them.
#pragma once

#include "state/vec3.h"

// Element order as the GL matrix functions take it: m[12], m[13], m[14] hold the translation.
struct Mat4 {
    float m[16];
};

Mat4 mat_identity();
// a x b: b acts on a vertex first, as when b is multiplied onto the current matrix a.
Mat4 mat_multiply(const Mat4& a, const Mat4& b);
// a x T(t), like glTranslatef on the current matrix a.
Mat4 mat_translate(const Mat4& a, Vec3 t);
// a x R, like glRotatef: degrees about axis; a near-zero axis leaves a unchanged.
Mat4 mat_rotate(const Mat4& a, float degrees, Vec3 axis);
// a x S(s), like glScalef.
Mat4 mat_scale(const Mat4& a, Vec3 s);
Vec3 mat_transform_point(const Mat4& a, Vec3 p);
