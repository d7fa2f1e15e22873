// Matrix helpers: identity, product, translation, rotation, scale and point transform.
#include "render/mat4.h"

#include <cmath>
#include <numbers>

Mat4 mat_identity() {
    return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Mat4 mat_multiply(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[k * 4 + row] * b.m[col * 4 + k];
            r.m[col * 4 + row] = sum;
        }
    return r;
}

Mat4 mat_translate(const Mat4& a, Vec3 t) {
    Mat4 r = a;
    for (int row = 0; row < 4; ++row)
        r.m[12 + row] = a.m[row] * t.x + a.m[4 + row] * t.y + a.m[8 + row] * t.z + a.m[12 + row];
    return r;
}

Mat4 mat_rotate(const Mat4& a, float degrees, Vec3 axis) {
    double x = axis.x, y = axis.y, z = axis.z;
    double length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4)
        return a;
    x /= length;
    y /= length;
    z /= length;
    double radians = degrees * (std::numbers::pi / 180.0);
    double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
    Mat4 rotation = {{float(x * x * t + c), float(y * x * t + z * s), float(x * z * t - y * s), 0,
                      float(x * y * t - z * s), float(y * y * t + c), float(y * z * t + x * s), 0,
                      float(x * z * t + y * s), float(y * z * t - x * s), float(z * z * t + c), 0,
                      0, 0, 0, 1}};
    return mat_multiply(a, rotation);
}

Mat4 mat_scale(const Mat4& a, Vec3 s) {
    Mat4 r = a;
    for (int row = 0; row < 4; ++row) {
        r.m[row] *= s.x;
        r.m[4 + row] *= s.y;
        r.m[8 + row] *= s.z;
    }
    return r;
}

Vec3 mat_transform_point(const Mat4& a, Vec3 p) {
    return {a.m[0] * p.x + a.m[4] * p.y + a.m[8] * p.z + a.m[12],
            a.m[1] * p.x + a.m[5] * p.y + a.m[9] * p.z + a.m[13],
            a.m[2] * p.x + a.m[6] * p.y + a.m[10] * p.z + a.m[14]};
}
