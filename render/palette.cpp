// Palette ramps: each index's channel bits scaled to 0..255.
#include "render/palette.h"

namespace {

// Palette formats are at most 8 bits deep; 16 is a generous ceiling that keeps the table small.
constexpr int MAX_PALETTE_BITS = 16;

uint8_t channel_value(uint32_t index, PaletteChannel channel) {
    // A channel without bits (or an impossible shift) contributes nothing instead of dividing by 0.
    if (channel.bits <= 0 || channel.bits > 16 || channel.shift < 0 || channel.shift > 31)
        return 0;
    uint32_t max = (1u << channel.bits) - 1;
    uint32_t value = (index >> channel.shift) & max;
    return uint8_t(value * 255u / max);
}

} // namespace

std::vector<PaletteEntry> make_palette(const PaletteFormat& format) {
    std::vector<PaletteEntry> entries;
    if (!format.need_palette || format.color_bits <= 0 || format.color_bits > MAX_PALETTE_BITS)
        return entries;
    uint32_t count = 1u << format.color_bits;
    entries.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        entries[i] = {channel_value(i, format.red), channel_value(i, format.green),
                      channel_value(i, format.blue), 0};
    return entries;
}
