// Image-file textures: stb_image decoding behind a size check, and a box-filter scale-down.
#include "archive/image_texture.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <stb_image.h>

namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

// The sum of the source texels a target texel covers. Colours are weighted by alpha, so
// see-through texels lend their colour to nothing.
struct TexelSum {
    uint64_t rgb[3] = {};
    uint64_t alpha = 0;
    uint64_t count = 0;

    void add(const stbi_uc* p) {
        for (int c = 0; c < 3; ++c)
            rgb[c] += uint64_t(p[c]) * p[3];
        alpha += p[3];
        ++count;
    }
    void store(uint8_t* out) const {
        for (int c = 0; c < 3; ++c)
            out[c] = alpha ? uint8_t((rgb[c] + alpha / 2) / alpha) : 0;
        out[3] = uint8_t((alpha + count / 2) / count);
    }
};

// Scales width x height RGBA pixels down into texture_pixels at size; true when some target
// texel is not fully opaque.
bool scale_into_texture(const stbi_uc* pixels, int width, int height, TextureSize size) {
    bool has_alpha = false;
    uint8_t* out = texture_pixels;
    for (int ty = 0; ty < size.height; ++ty) {
        int y0 = ty * height / size.height, y1 = (ty + 1) * height / size.height;
        for (int tx = 0; tx < size.width; ++tx, out += 4) {
            int x0 = tx * width / size.width, x1 = (tx + 1) * width / size.width;
            TexelSum sum;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    sum.add(pixels + (size_t(y) * width + x) * 4);
            sum.store(out);
            has_alpha = has_alpha || out[3] != 255;
        }
    }
    return has_alpha;
}

} // namespace

TextureSize fitted_texture_size(int width, int height) {
    int factor = 1;
    while (width / factor > MAX_TEXTURE_SIZE || height / factor > MAX_TEXTURE_SIZE)
        factor *= 2;
    auto side = [&](int length) {
        return int(std::bit_floor(unsigned(std::max(1, length / factor))));
    };
    return {side(width), side(height)};
}

bool decode_image_texture(std::span<const uint8_t> bytes, TextureImage& image) {
    int width = 0, height = 0, channels = 0;
    int length = int(std::min<size_t>(bytes.size(), INT32_MAX));
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        return false;
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
    if (!pixels)
        return false;
    TextureSize size = fitted_texture_size(width, height);
    image = TextureImage{uint16_t(size.width), uint16_t(size.height), false};
    image.has_alpha = scale_into_texture(pixels.get(), width, height, size);
    return true;
}
