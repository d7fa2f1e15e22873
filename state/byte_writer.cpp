// ByteWriter: the growth, the block appends and the patch.
#include "state/byte_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

void ByteWriter::make_room(size_t n) {
    buffer_.resize(std::max({2 * buffer_.size(), size_ + n, size_t(4096)}));
}

void ByteWriter::reserve(size_t n) {
    if (buffer_.size() < n)
        buffer_.resize(n);
}

void ByteWriter::bytes(const void* p, size_t n) {
    if (n > 0)
        std::memcpy(grow(n), p, n);
}

void ByteWriter::zeros(size_t n) {
    if (n > 0)
        std::memset(grow(n), 0, n);
}

void ByteWriter::patch_u32(size_t pos, uint32_t v) {
    if (pos > size_ || size_ - pos < 4)
        throw std::out_of_range("ByteWriter::patch_u32");
    for (int i = 0; i < 4; ++i)
        buffer_[pos + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> ByteWriter::take() {
    buffer_.resize(size_);
    size_ = 0;
    return std::move(buffer_);
}
