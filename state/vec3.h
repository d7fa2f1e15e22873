// Vec3: three 32-bit floats, the vector type of every model table and file record.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

inline bool operator==(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
