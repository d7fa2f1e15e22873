// A bounds-checked little-endian reader over bytes in memory. Reads past the end yield
// zeros and never touch memory outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "state/vec3.h"

class ByteCursor {
  public:
    explicit ByteCursor(std::span<const uint8_t> data) : data_(data) {}

    uint8_t u8();
    uint16_t u16();
    int16_t i16();
    uint32_t u32();
    int32_t i32();
    float f32();
    Vec3 vec3();
    // Copies n bytes; the part past the end of the data is zero-filled.
    void bytes(void* out, size_t n);
    // Copies a fixed-width string field of n bytes into out (capacity n + 1), terminated.
    void string_field(char* out, size_t n);
    // The next n bytes in place, moving past them; nullptr, without moving, when fewer remain.
    const uint8_t* take(size_t n) {
        if (!has(n))
            return nullptr;
        const uint8_t* at = data_.data() + pos_;
        pos_ += n;
        return at;
    }

    void skip(size_t n) { seek(pos_ + n < pos_ ? SIZE_MAX : pos_ + n); }
    void seek(size_t pos) { pos_ = pos; }
    size_t tell() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
    bool has(size_t n) const { return remaining() >= n; }

  private:
    const uint8_t* field(uint8_t* copy, size_t n);

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};
