// The file image being assembled by the polymodel writer: fields gather in a small buffer that
// is appended to a ByteWriter in one call, so a megabyte of vertices and keys is not appended a
// byte at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "state/byte_writer.h"
#include "state/vec3.h"

class OofImage {
  public:
    void u8(uint8_t v) {
        room(1);
        pending_[count_++] = v;
    }
    void u32(uint32_t v) {
        room(4);
        put(count_, v);
        count_ += 4;
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
    void vec3(Vec3 v) {
        room(12);
        size_t at = count_;
        put(at, std::bit_cast<uint32_t>(v.x));
        put(at + 4, std::bit_cast<uint32_t>(v.y));
        put(at + 8, std::bit_cast<uint32_t>(v.z));
        count_ = at + 12;
    }
    void bytes(const void* p, size_t n) {
        flush();
        out_.bytes(p, n);
    }
    void zeros(size_t n) {
        flush();
        out_.zeros(n);
    }
    size_t size() const { return out_.size() + count_; }
    void patch_u32(size_t pos, uint32_t v) {
        flush();
        out_.patch_u32(pos, v);
    }
    std::vector<uint8_t> take() {
        flush();
        return out_.take();
    }

  private:
    // One store per word where the machine is little-endian; byte by byte elsewhere.
    void put(size_t at, uint32_t v) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(pending_ + at, &v, 4);
        } else {
            for (int i = 0; i < 4; ++i)
                pending_[at + i] = uint8_t(v >> (8 * i));
        }
    }
    void room(size_t n) {
        if (count_ + n > sizeof pending_)
            flush();
    }
    void flush() {
        out_.bytes(pending_, count_);
        count_ = 0;
    }

    ByteWriter out_;
    uint8_t pending_[4096];
    size_t count_ = 0;
};
