// OGF/OAF top-image decoding: headers, run-length pixel records and the two pixel formats.
#include "archive/texture_decode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "state/byte_cursor.h"
#include "state/messages.h"

uint8_t texture_pixels[MAX_TEXTURE_SIZE * MAX_TEXTURE_SIZE * 4];

namespace {

constexpr size_t MAX_PIXEL_BYTES =
    size_t(MAX_TEXTURE_SIZE) * MAX_TEXTURE_SIZE * OGF_PIXEL_RECORD_SIZE;

struct ImageHeader {
    uint8_t format_code = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    bool name_ended = false; // the image name's terminator lies within the bytes
};

// Reads everything before the pixel records and leaves in just before the first one.
ImageHeader read_image_header(ByteCursor& in, TextureKind kind) {
    if (kind == TextureKind::animated) {
        uint8_t header[OAF_HEADER_SIZE];
        in.bytes(header, sizeof header);
        if ((header[5] | header[6] << 8) == OAF_LONG_HEADER_MARK)
            in.skip(OAF_LONG_HEADER_EXTRA);
    }
    ImageHeader image;
    in.skip(2);
    image.format_code = in.u8();
    while (in.has(1)) {
        if (in.u8() == 0) {
            image.name_ended = true;
            break;
        }
    }
    uint8_t block[OGF_IMAGE_BLOCK_SIZE];
    in.bytes(block, sizeof block);
    image.width = uint16_t(block[10] | block[11] << 8);
    image.height = uint16_t(block[12] | block[13] << 8);
    return image;
}

bool refuse_oversized(const ImageHeader& image) {
    bool too_big = false;
    if (image.height > MAX_TEXTURE_SIZE) {
        message_box("ERROR", "Texture: height > 128");
        too_big = true;
    }
    if (image.width > MAX_TEXTURE_SIZE) {
        message_box("ERROR", "Texture: width > 128");
        too_big = true;
    }
    return too_big;
}

// One converted texel: its four bytes as they lie in texture_pixels, in one word so runs
// store whole pixels at a time.
struct Texel {
    uint32_t word;
    bool judged_transparent;
};

uint32_t rgba_word(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    return std::bit_cast<uint32_t>(std::array<uint8_t, 4>{red, green, blue, alpha});
}

template <bool IS_1555> Texel convert(uint16_t value) {
    if constexpr (IS_1555) {
        // Only the value 0 is see-through, yet any value without the alpha bit marks the
        // texture as one to blend.
        return {rgba_word(uint8_t((value >> 7) & 0xF8), uint8_t((value >> 2) & 0xF8),
                          uint8_t((value << 3) & 0xF8), value == 0 ? 0 : 255),
                (value & 0x8000) == 0};
    } else {
        // The top nibble is ignored; colour nibbles of 0 or 1 all round count as transparent.
        bool clear = (value & 0x0EEE) == 0;
        return {rgba_word(uint8_t((value >> 4) & 0xF0), uint8_t(value & 0xF0),
                          uint8_t((value << 4) & 0xF0), clear ? 0 : 255),
                clear};
    }
}

Texel convert_for(uint16_t value, uint8_t format_code) {
    return format_code == OGF_FORMAT_1555 ? convert<true>(value) : convert<false>(value);
}

void fill_pixels(size_t first, size_t count, uint32_t word) {
    uint8_t* out = texture_pixels + first * 4;
    for (size_t i = 0; i < count; ++i, out += 4)
        std::memcpy(out, &word, 4);
}

// The record loop, kept free of cursor calls and of stores through references: it runs for
// up to 16384 records per texture.
template <bool IS_1555>
size_t decode_records(const uint8_t* in, size_t available, size_t total, bool& has_alpha) {
    size_t filled = 0;
    bool any_transparent = false;
    const uint8_t* end = in + available / OGF_PIXEL_RECORD_SIZE * OGF_PIXEL_RECORD_SIZE;
    for (; filled < total && in != end; in += OGF_PIXEL_RECORD_SIZE) {
        uint16_t value = uint16_t(in[1] | in[2] << 8);
        Texel texel = convert<IS_1555>(value);
        // Counts 0 and 1 both give one pixel; a run may cross rows but not the image's end.
        size_t run = std::min<size_t>(in[0] > 1 ? in[0] : 1, total - filled);
        fill_pixels(filled, run, texel.word);
        any_transparent |= texel.judged_transparent;
        filled += run;
    }
    has_alpha = has_alpha || any_transparent;
    return filled;
}

} // namespace

bool decode_texture(std::span<const uint8_t> bytes, TextureKind kind, TextureImage& image) {
    ByteCursor in(bytes);
    ImageHeader header = read_image_header(in, kind);
    image = TextureImage{header.width, header.height, false};
    if (refuse_oversized(header))
        return false;
    size_t total = size_t(header.width) * header.height;
    const uint8_t* records = bytes.data() + std::min(in.tell(), bytes.size());
    size_t available = in.remaining();
    size_t filled = header.format_code == OGF_FORMAT_1555
                        ? decode_records<true>(records, available, total, image.has_alpha)
                        : decode_records<false>(records, available, total, image.has_alpha);
    if (filled < total) {
        Texel missing = convert_for(0, header.format_code);
        fill_pixels(filled, total - filled, missing.word);
        image.has_alpha = image.has_alpha || missing.judged_transparent;
    }
    return true;
}

size_t texture_bytes_needed(std::span<const uint8_t> bytes, TextureKind kind) {
    ByteCursor in(bytes);
    ImageHeader header = read_image_header(in, kind);
    if (!header.name_ended)
        return SIZE_MAX;
    return in.tell() + MAX_PIXEL_BYTES;
}
