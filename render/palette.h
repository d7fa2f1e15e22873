// The logical palette a palette-based pixel format needs: colour ramps from channel bits and
// shifts.
#pragma once

#include <cstdint>
#include <vector>

struct PaletteChannel {
    int bits;
    int shift;
};

// What the chosen pixel format reports about itself.
struct PaletteFormat {
    bool need_palette; // false for a true-colour surface
    int color_bits;
    PaletteChannel red;
    PaletteChannel green;
    PaletteChannel blue;
};

struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};

// One entry per colour index (2 ^ color_bits), or none when the format needs no palette.
std::vector<PaletteEntry> make_palette(const PaletteFormat& format);
