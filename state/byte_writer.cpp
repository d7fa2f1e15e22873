// ByteWriter: little-endian fields appended to a growing image.
#include "state/byte_writer.h"

#include <bit>

void ByteWriter::u16(uint16_t v) {
    data_.push_back(static_cast<uint8_t>(v));
    data_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        data_.push_back(static_cast<uint8_t>(v >> shift));
}

void ByteWriter::f32(float v) {
    u32(std::bit_cast<uint32_t>(v));
}

void ByteWriter::vec3(Vec3 v) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
}

void ByteWriter::bytes(const void* p, size_t n) {
    auto b = static_cast<const uint8_t*>(p);
    data_.insert(data_.end(), b, b + n);
}

void ByteWriter::patch_u32(size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        data_.at(pos + i) = static_cast<uint8_t>(v >> (8 * i));
}
