// A growing little-endian byte image for the writers and the file builders; patch_u32 fills in
// lengths later. The field writers are inline: an image holds up to a megabyte of fields.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "state/vec3.h"

class ByteWriter {
  public:
    void u8(uint8_t v) { data_.push_back(v); }
    void u16(uint16_t v) { put(v, 2); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u32(uint32_t v) { put(v, 4); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
    void vec3(Vec3 v) {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    void bytes(const void* p, size_t n);
    void text(std::string_view s) { bytes(s.data(), s.size()); }
    void zeros(size_t n) { data_.resize(data_.size() + n); }
    void patch_u32(size_t pos, uint32_t v);

    size_t size() const { return data_.size(); }
    const std::vector<uint8_t>& data() const { return data_; }
    std::vector<uint8_t> take() { return std::move(data_); }

  private:
    // The low n bytes of v, least significant first.
    void put(uint32_t v, size_t n) {
        size_t at = data_.size();
        data_.resize(at + n);
        for (size_t i = 0; i < n; ++i)
            data_[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

    std::vector<uint8_t> data_;
};
