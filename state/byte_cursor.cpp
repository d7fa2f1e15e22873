// ByteCursor: little-endian fields, zero past the end.
#include "state/byte_cursor.h"

#include <algorithm>
#include <bit>
#include <cstring>

void ByteCursor::bytes(void* out, size_t n) {
    size_t available = std::min(n, remaining());
    if (available > 0)
        std::memcpy(out, data_.data() + pos_, available);
    if (available < n)
        std::memset(static_cast<uint8_t*>(out) + available, 0, n - available);
    skip(n);
}

// The next n bytes: in place where the data holds them, else copied with zeros past the end.
const uint8_t* ByteCursor::field(uint8_t* copy, size_t n) {
    const uint8_t* at = take(n);
    if (at)
        return at;
    bytes(copy, n);
    return copy;
}

uint8_t ByteCursor::u8() {
    uint8_t b[1];
    return *field(b, 1);
}

uint16_t ByteCursor::u16() {
    uint8_t copy[2];
    const uint8_t* b = field(copy, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

int16_t ByteCursor::i16() {
    return static_cast<int16_t>(u16());
}

uint32_t ByteCursor::u32() {
    uint8_t copy[4];
    const uint8_t* b = field(copy, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

int32_t ByteCursor::i32() {
    return static_cast<int32_t>(u32());
}

float ByteCursor::f32() {
    return std::bit_cast<float>(u32());
}

Vec3 ByteCursor::vec3() {
    Vec3 v;
    v.x = f32();
    v.y = f32();
    v.z = f32();
    return v;
}

void ByteCursor::string_field(char* out, size_t n) {
    bytes(out, n);
    out[n] = '\0';
}
