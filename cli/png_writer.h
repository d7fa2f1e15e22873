// A minimal PNG encoder: 8-bit RGB or RGBA, no interlacing, rows compressed with zlib.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // 4 bytes a pixel, rows top to bottom
};

// The PNG file bytes of image; with alpha false the alpha bytes are dropped (colour type 2).
std::vector<uint8_t> encode_png(const Image& image, bool alpha);
