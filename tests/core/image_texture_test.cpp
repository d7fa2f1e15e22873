// Image-file textures: every format decodes its colours and alpha, sizes fit 128 x 128 in powers
// of two, a scale-down averages what each texel covers, and damaged or huge images are refused.
#include <array>

#include "archive/image_texture.h"
#include "tests/support/test_globals.h"
#include "tools/image_file_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;

Rgba texel(int width, int x, int y) {
    const uint8_t* p = texture_pixels + (size_t(y) * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

void expect_rgba_near(Rgba got, Rgba want, int tolerance) {
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(got[c], want[c], tolerance) << "component " << c;
}

// width x height pixels given by colour(x, y).
template <class F> std::vector<uint8_t> pixels(int width, int height, F colour) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgba c = colour(x, y);
            rgba.insert(rgba.end(), c.begin(), c.end());
        }
    return rgba;
}

TEST(ImageTexture, SizesHalveToFitThenRoundDownToPowersOfTwo) {
    const int rows[][4] = {{256, 200, 128, 64},  {100, 50, 64, 32}, {128, 128, 128, 128},
                           {1, 1, 1, 1},         {129, 3, 64, 1},   {3, 1000, 1, 64},
                           {8192, 4000, 128, 32}};
    for (auto [width, height, fitted_width, fitted_height] : rows) {
        TextureSize size = fitted_texture_size(width, height);
        EXPECT_EQ((std::array{size.width, size.height}), (std::array{fitted_width, fitted_height}))
            << width << " x " << height;
    }
}

// 16 x 8: a red and a blue 8 x 8 block (whole JPEG blocks), the top-left texel see-through.
TEST(ImageTexture, EveryFormatGivesItsColoursAndAlpha) {
    const Rgba RED{220, 30, 20, 255}, BLUE{10, 40, 230, 255}, CLEAR{90, 90, 90, 0};
    std::vector<uint8_t> rgba = pixels(16, 8, [&](int x, int y) {
        return x + y == 0 ? CLEAR : x < 8 ? RED : BLUE;
    });
    using enum ImageFileFormat;
    for (auto [format, tolerance, keeps_alpha] :
         {std::tuple{png, 0, true}, {tga, 0, true}, {bmp, 0, true}, {jpg, 6, false}}) {
        SCOPED_TRACE(int(format));
        TextureImage image{};
        ASSERT_TRUE(decode_image_texture(build_image_file(format, 16, 8, rgba), image));
        EXPECT_EQ(
            (std::array<int, 4>{image.width, image.height, image.has_alpha, texel(16, 0, 0)[3]}),
            (std::array<int, 4>{16, 8, keeps_alpha, keeps_alpha ? 0 : 255}));
        expect_rgba_near(texel(16, 3, 5), RED, tolerance);
        expect_rgba_near(texel(16, 15, 7), BLUE, tolerance);
    }
}

// 256 x 200 to 128 x 64: each texel covers 2 columns and 3 or 4 rows.
TEST(ImageTexture, ScalingDownAveragesTheCoveredTexelsWeightedByAlpha) {
    std::vector<uint8_t> rgba = pixels(256, 200, [](int x, int) {
        if (x < 128)
            return x % 2 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
        return x % 2 ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 0};
    });
    TextureImage image{};
    ASSERT_TRUE(
        decode_image_texture(build_image_file(ImageFileFormat::png, 256, 200, rgba), image));
    EXPECT_EQ(image.width, 128);
    EXPECT_EQ(image.height, 64);
    EXPECT_TRUE(image.has_alpha);
    const Rgba GREY{128, 128, 128, 255}, GREEN{0, 255, 0, 128}; // no red from clear texels
    for (int y : {0, 31, 63})
        EXPECT_EQ((std::vector{texel(128, 0, y), texel(128, 63, y), texel(128, 64, y),
                               texel(128, 127, y)}),
                  (std::vector{GREY, GREY, GREEN, GREEN}))
            << y;
}

TEST(ImageTexture, DamagedAndOversizedImagesAreRefused) {
    std::vector<uint8_t> line((MAX_IMAGE_SIDE + 1) * 4, 200);
    std::vector<uint8_t> png = build_image_file(ImageFileFormat::png, 4, 4, line);
    for (const std::vector<uint8_t>& bytes :
         {std::vector(png.begin(), png.begin() + png.size() / 2),
          build_image_file(ImageFileFormat::png, MAX_IMAGE_SIDE + 1, 1, line),
          build_image_file(ImageFileFormat::bmp, 1, MAX_IMAGE_SIDE + 1, line),
          std::vector<uint8_t>{'P', 'S', 'P', 'O', 0, 0}, std::vector<uint8_t>{}}) {
        TextureImage image{};
        EXPECT_FALSE(decode_image_texture(bytes, image)) << bytes.size();
    }
    TextureImage image{};
    EXPECT_TRUE(decode_image_texture(png, image));
}

} // namespace
