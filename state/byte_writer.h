// A growing little-endian byte image for the writers; patch_u32 fills in lengths later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "state/vec3.h"

class ByteWriter {
  public:
    void u8(uint8_t v) { data_.push_back(v); }
    void u16(uint16_t v);
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u32(uint32_t v);
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v);
    void vec3(Vec3 v);
    void bytes(const void* p, size_t n);
    void text(std::string_view s) { bytes(s.data(), s.size()); }
    void zeros(size_t n) { data_.insert(data_.end(), n, 0); }
    void patch_u32(size_t pos, uint32_t v);

    size_t size() const { return data_.size(); }
    const std::vector<uint8_t>& data() const { return data_; }
    std::vector<uint8_t>&& take() { return std::move(data_); }

  private:
    std::vector<uint8_t> data_;
};
