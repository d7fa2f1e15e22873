// Textures from ordinary image files (PNG, TGA, BMP, JPEG), for names that have no OGF or OAF
// file: decoded with stb_image and scaled down into the shared 128 x 128 RGBA pixel buffer.
#pragma once

#include <cstdint>
#include <span>

#include "archive/texture_decode.h"

// Larger images are refused before their pixels are decoded.
constexpr int MAX_IMAGE_SIDE = 8192;

// Tried in this order after the texture's name.
constexpr const char* IMAGE_TEXTURE_EXTENSIONS[] = {".png", ".tga", ".bmp", ".jpg", ".jpeg"};

struct TextureSize {
    int width;
    int height;
};

// The size an image is drawn at: halved as often as needed to fit 128 x 128 (keeping its
// shape), then each side rounded down to a power of two, as OpenGL 1.1 needs. 256 x 200 gives
// 128 x 64; 100 x 50 gives 64 x 32.
TextureSize fitted_texture_size(int width, int height);

// Decodes the image file held in bytes (its format told by its content) into texture_pixels
// at its fitted size, colours averaged over the texels each one covers, alpha kept. False when
// the bytes are no image stb_image can read or a side is over MAX_IMAGE_SIDE.
bool decode_image_texture(std::span<const uint8_t> bytes, TextureImage& image);
