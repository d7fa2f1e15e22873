// The PNG encoder: signature, IHDR, one IDAT of deflated filtered rows, IEND.
#include "cli/png_writer.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace {

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

// Length, type, data, and the CRC of type and data.
void put_chunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data) {
    put_u32(out, uint32_t(data.size()));
    size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + type_at, uInt(4 + data.size()));
    put_u32(out, uint32_t(crc));
}

// Each row is preceded by its filter type: "Up" (the byte above subtracted), which shrinks the
// large even areas of a rendering well at little cost.
std::vector<uint8_t> filtered_rows(const Image& image, int channels) {
    size_t row_bytes = size_t(image.width) * channels;
    std::vector<uint8_t> rows;
    rows.reserve((row_bytes + 1) * size_t(image.height));
    std::vector<uint8_t> above(row_bytes, 0), current(row_bytes);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* pixel = image.rgba.data() + size_t(y) * image.width * 4;
        for (int x = 0; x < image.width; ++x)
            std::memcpy(&current[size_t(x) * channels], pixel + size_t(x) * 4, size_t(channels));
        rows.push_back(2);
        for (size_t i = 0; i < row_bytes; ++i)
            rows.push_back(uint8_t(current[i] - above[i]));
        above.swap(current);
    }
    return rows;
}

std::vector<uint8_t> deflate_bytes(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 6) != Z_OK)
        throw std::bad_alloc();
    packed.resize(size);
    return packed;
}

} // namespace

std::vector<uint8_t> encode_png(const Image& image, bool alpha) {
    const int channels = alpha ? 4 : 3;
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put_u32(header, uint32_t(image.width));
    put_u32(header, uint32_t(image.height));
    header.insert(header.end(), {8, uint8_t(alpha ? 6 : 2), 0, 0, 0});
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", deflate_bytes(filtered_rows(image, channels)));
    put_chunk(out, "IEND", {});
    return out;
}
