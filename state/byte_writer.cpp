// ByteWriter: the appends and the patch that are not inline.
#include "state/byte_writer.h"

void ByteWriter::bytes(const void* p, size_t n) {
    auto b = static_cast<const uint8_t*>(p);
    data_.insert(data_.end(), b, b + n);
}

void ByteWriter::patch_u32(size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        data_.at(pos + i) = static_cast<uint8_t>(v >> (8 * i));
}
