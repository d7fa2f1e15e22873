// Decoding the top image of an OGF still texture or the first frame of an OAF animated
// texture into the shared 128 x 128 RGBA pixel buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

constexpr int MAX_TEXTURE_SIZE = 128;    // pixels of a side
constexpr uint8_t OGF_FORMAT_1555 = 122; // any other format code means 4-4-4-4
constexpr size_t OAF_HEADER_SIZE = 7;
constexpr size_t OAF_LONG_HEADER_EXTRA = 10; // skipped when header bytes 5 and 6 read 0x5C29
constexpr uint16_t OAF_LONG_HEADER_MARK = 0x5C29;
constexpr size_t OGF_IMAGE_BLOCK_SIZE = 16;
constexpr size_t OGF_PIXEL_RECORD_SIZE = 3; // count byte, 16-bit pixel value

// image: a PNG, TGA, BMP or JPEG file, decoded by decode_image_texture (image_texture.h).
enum class TextureKind { still, animated, image };

// R, G, B, A bytes of each pixel, width pixels a row, first row of the file first.
extern uint8_t texture_pixels[MAX_TEXTURE_SIZE * MAX_TEXTURE_SIZE * 4];

struct TextureImage {
    uint16_t width;
    uint16_t height;
    bool has_alpha; // some pixel was judged transparent
};

// Decodes bytes (a file's contents from its start) into texture_pixels. A too large image
// shows "Texture: height > 128" and/or "Texture: width > 128" and gives false. An image cut
// short decodes its missing pixels as the value 0.
bool decode_texture(std::span<const uint8_t> bytes, TextureKind kind, TextureImage& image);

// How many bytes from the start of bytes a decode can use: the headers, the image name and
// block and the pixel records of a 128 x 128 image. SIZE_MAX while the image name runs past
// the end of bytes, so more must be read to tell.
size_t texture_bytes_needed(std::span<const uint8_t> bytes, TextureKind kind);
