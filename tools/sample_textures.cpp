// Procedural sample textures.
#include "tools/sample_textures.h"

#include <cmath>
#include <functional>

#include "tools/texture_builder.h"

namespace {

constexpr int SIZE = 32;
constexpr uint8_t FORMAT_1555 = 122;
constexpr uint8_t FORMAT_4444 = 121;

struct Rgb {
    int r, g, b;
};

std::vector<uint16_t> paint(int size, const std::function<uint16_t(int, int)>& texel) {
    std::vector<uint16_t> values;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            values.push_back(texel(x, y));
    return values;
}

uint8_t clamp8(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

uint16_t opaque_1555(Rgb c) {
    return pack_1555(clamp8(c.r), clamp8(c.g), clamp8(c.b), true);
}

// 4-4-4-4 texels count as clear when every colour nibble is 0 or 1, so opaque ones stay above.
uint16_t opaque_4444(Rgb c) {
    return pack_4444(clamp8(std::max(c.r, 32)), clamp8(std::max(c.g, 32)),
                     clamp8(std::max(c.b, 32)));
}

SampleFile still(const char* name, uint8_t format, const std::vector<uint16_t>& values) {
    OgfImage image = make_ogf_image(SIZE, SIZE, values, format);
    image.name = name;
    return {std::string(name) + ".ogf", build_ogf(image)};
}

// Grey plates with dark seams and rivets.
SampleFile hull() {
    return still("hull", FORMAT_1555, paint(SIZE, [](int x, int y) {
                     bool seam = x % 16 == 0 || y % 8 == 0;
                     bool rivet = x % 16 == 2 && y % 8 == 2;
                     int shade = 150 + ((x / 16 + y / 8) % 2) * 25;
                     return opaque_1555(seam    ? Rgb{70, 75, 85}
                                        : rivet ? Rgb{210, 210, 220}
                                                : Rgb{shade, shade, shade + 12});
                 }));
}

// Yellow and dark hazard checks.
SampleFile deck() {
    return still("deck", FORMAT_4444, paint(SIZE, [](int x, int y) {
                     bool light = ((x + y) / 8) % 2 == 0;
                     return opaque_4444(light ? Rgb{230, 190, 40} : Rgb{60, 60, 64});
                 }));
}

// Wooden planks with a darker frame.
SampleFile crate() {
    return still(
        "crate", FORMAT_1555, paint(SIZE, [](int x, int y) {
            bool frame = x < 3 || y < 3 || x > SIZE - 4 || y > SIZE - 4 || x == y;
            int grain = (y * 7 + x / 5) % 9 * 6;
            return opaque_1555(frame ? Rgb{90, 55, 25} : Rgb{170 + grain, 120 + grain, 60});
        }));
}

// A pale blue pane whose corners are clear.
SampleFile glass() {
    return still("glass", FORMAT_4444, paint(SIZE, [](int x, int y) {
                     int dx = x - SIZE / 2, dy = y - SIZE / 2;
                     if (dx * dx + dy * dy > 14 * 14)
                         return pack_4444(0, 0, 0);
                     return opaque_4444(Rgb{90, 170, 240 - (dx * dx + dy * dy) / 2});
                 }));
}

// A round glow fading out to fully clear texels.
SampleFile flare() {
    return still("flare", FORMAT_1555, paint(SIZE, [](int x, int y) {
                     double d = std::hypot(x - 15.5, y - 15.5) / 16.0;
                     if (d >= 1.0)
                         return uint16_t(0);
                     int level = static_cast<int>(255 * (1.0 - d));
                     return pack_1555(clamp8(level + 40), clamp8(level), clamp8(level / 3), false);
                 }));
}

// A screen with a bright bar sweeping down, four frames.
SampleFile screen() {
    std::vector<OgfImage> frames;
    for (int f = 0; f < 4; ++f) {
        OgfImage image =
            make_ogf_image(SIZE, SIZE,
                           paint(SIZE,
                                 [f](int x, int y) {
                                     bool bar = (y / 4) % 4 == f;
                                     bool border = x < 2 || y < 2 || x > SIZE - 3 || y > SIZE - 3;
                                     return opaque_1555(border ? Rgb{40, 40, 40}
                                                        : bar  ? Rgb{120, 255, 140}
                                                               : Rgb{20, 90, 40});
                                 }),
                           FORMAT_1555);
        image.name = "screen";
        frames.push_back(image);
    }
    return {"screen.oaf", build_oaf(frames)};
}

} // namespace

std::vector<SampleFile> sample_textures() {
    return {hull(), deck(), crate(), glass(), flare(), screen()};
}
