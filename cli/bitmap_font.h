// Text drawn into an image with a tiny built-in 5 x 7 bitmap font (printable ASCII; any other
// byte shows as '?').
#pragma once

#include <cstdint>
#include <string_view>

#include "cli/png_writer.h"

constexpr int GLYPH_WIDTH = 5;
constexpr int GLYPH_HEIGHT = 7;
constexpr int GLYPH_ADVANCE = GLYPH_WIDTH + 1;

// Pixels the text takes across.
int text_width(std::string_view text);

// Draws text with its top-left corner at (x, y), opaque, clipped to the image.
void draw_text(Image& image, int x, int y, std::string_view text, const uint8_t rgb[3]);
