// Vector helpers: double arithmetic, float results.
#include "state/vector_math.h"

#include <cmath>

namespace {

// The degree factor is the decimal 57.2958 held as a float, not 180/pi: callers compare
// angles with 0 and 180, and this factor makes opposite vectors give 180.00006.
constexpr float kDegreesPerRadian = 57.2958f;

Vec3 divided(Vec3 a, double d) {
    return {static_cast<float>(a.x / d), static_cast<float>(a.y / d), static_cast<float>(a.z / d)};
}

Vec3 cross(double ax, double ay, double az, double bx, double by, double bz) {
    return {static_cast<float>(ay * bz - az * by), static_cast<float>(az * bx - ax * bz),
            static_cast<float>(ax * by - ay * bx)};
}

} // namespace

float vec_length(Vec3 a) {
    double x = a.x, y = a.y, z = a.z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

Vec3 vec_normalize(Vec3 a) {
    float length = vec_length(a);
    if (length == 0.0f)
        return a;
    return divided(a, length);
}

void vec_normalize_in_place(Vec3& a) {
    float length = vec_length(a);
    a = divided(a, length == 0.0f ? 1.0f : length);
}

float vec_dot(Vec3 a, Vec3 b) {
    return static_cast<float>(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

Vec3 vec_cross_unit(Vec3 a, Vec3 b) {
    return vec_normalize(cross(a.x, a.y, a.z, b.x, b.y, b.z));
}

float vec_angle_deg(Vec3 a, Vec3 b) {
    float d = vec_dot(a, b);
    float q = static_cast<float>(double(d) / vec_length(a));
    double r = double(q) / vec_length(b);
    return static_cast<float>(std::acos(r) * double(kDegreesPerRadian));
}

void triangle_normal(Vec3 p0, Vec3 p1, Vec3 p2, Vec3& out) {
    double ax = double(p0.x) - p1.x, ay = double(p0.y) - p1.y, az = double(p0.z) - p1.z;
    double bx = double(p1.x) - p2.x, by = double(p1.y) - p2.y, bz = double(p1.z) - p2.z;
    out = cross(ax, ay, az, bx, by, bz);
    vec_normalize_in_place(out);
}
