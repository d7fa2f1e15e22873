// A growing little-endian byte image for the writers and the file builders; patch_u32 fills in
// lengths later. The field writers are inline and store into room reserved ahead: an image holds
// up to a megabyte of fields.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "state/vec3.h"

class ByteWriter {
  public:
    void u8(uint8_t v) { *grow(1) = v; }
    void u16(uint16_t v) { put<2>(v); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u32(uint32_t v) { put<4>(v); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
    void vec3(Vec3 v) {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    void bytes(const void* p, size_t n);
    void text(std::string_view s) { bytes(s.data(), s.size()); }
    void zeros(size_t n);
    void patch_u32(size_t pos, uint32_t v);
    // Makes room for an image of n bytes in all, so that growing to it allocates nothing more.
    void reserve(size_t n);

    size_t size() const { return size_; }
    std::span<const uint8_t> data() const { return {buffer_.data(), size_}; }
    std::vector<uint8_t> take();

  private:
    // Room for n more bytes at the end; returns where they go.
    uint8_t* grow(size_t n) {
        if (buffer_.size() - size_ < n)
            make_room(n);
        uint8_t* at = buffer_.data() + size_;
        size_ += n;
        return at;
    }
    void make_room(size_t n);
    // The low N bytes of v, least significant first: one store where the machine is
    // little-endian.
    template <size_t N> void put(uint32_t v) {
        uint8_t* at = grow(N);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &v, N);
        } else {
            for (size_t i = 0; i < N; ++i)
                at[i] = static_cast<uint8_t>(v >> (8 * i));
        }
    }

    std::vector<uint8_t> buffer_; // size_ bytes written, then room reserved ahead
    size_t size_ = 0;
};
