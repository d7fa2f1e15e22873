// OGF/OAF decoding: runs, both pixel formats with their alpha rules, the size limits, the OAF
// header forms, and images cut short at every length.
#include <array>
#include <cstring>

#include "archive/texture_decode.h"
#include "tests/support/test_globals.h"
#include "tools/texture_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;

class TextureDecodeTest : public CoreTest {
  protected:
    bool decode(const std::vector<uint8_t>& bytes, TextureKind kind = TextureKind::still) {
        return decode_texture(bytes, kind, image);
    }
    static Rgba pixel(size_t index) {
        Rgba p;
        std::memcpy(p.data(), texture_pixels + index * 4, 4);
        return p;
    }
    std::vector<Rgba> pixels() const {
        std::vector<Rgba> all;
        for (size_t i = 0; i < size_t(image.width) * image.height; ++i)
            all.push_back(pixel(i));
        return all;
    }
    TextureImage image{};
};

OgfImage image_of_runs(uint16_t width, uint16_t height, std::vector<OgfRun> runs,
                       uint8_t format_code = OGF_FORMAT_1555) {
    OgfImage image;
    image.format_code = format_code;
    image.width = width;
    image.height = height;
    image.runs = std::move(runs);
    return image;
}

// Opaque 1-5-5-5 values whose red, green and blue all differ.
constexpr uint16_t A = 0x8000 | 3 << 10 | 17 << 5 | 9;  // (24, 136, 72)
constexpr uint16_t B = 0x8000 | 30 << 10 | 1 << 5 | 12; // (240, 8, 96)
constexpr uint16_t C = 0x8000 | 5 << 10 | 6 << 5 | 31;  // (40, 48, 248)
constexpr Rgba RGBA_A{24, 136, 72, 255};
constexpr Rgba RGBA_B{240, 8, 96, 255};
constexpr Rgba RGBA_C{40, 48, 248, 255};

TEST_F(TextureDecodeTest, CountsZeroAndOneGiveOnePixelAndLargerCountsRepeat) {
    ASSERT_TRUE(decode(build_ogf(image_of_runs(5, 1, {{0, A}, {1, B}, {3, C}}))));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(pixels(), (std::vector<Rgba>{RGBA_A, RGBA_B, RGBA_C, RGBA_C, RGBA_C}));
    EXPECT_FALSE(image.has_alpha);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureDecodeTest, ARunContinuesAcrossTheEndOfARow) {
    // Width 10: the run of ten starts two pixels before the end of row 0.
    ASSERT_TRUE(decode(build_ogf(image_of_runs(10, 2, {{8, A}, {10, B}, {2, C}}))));
    std::vector<Rgba> all = pixels();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(all[i], RGBA_A) << i;
    for (int i = 8; i < 18; ++i)
        EXPECT_EQ(all[i], RGBA_B) << i;
    EXPECT_EQ(all[18], RGBA_C);
    EXPECT_EQ(all[19], RGBA_C);
}

TEST_F(TextureDecodeTest, NothingPastTheTopImageIsRead) {
    // The last run overshoots the image; a lower level of transparent pixels follows.
    OgfImage top = image_of_runs(2, 2, {{1, A}, {200, B}});
    top.lower_levels = {{{1, 0x0000}}};
    ASSERT_TRUE(decode(build_ogf(top)));
    EXPECT_EQ(pixels(), (std::vector<Rgba>{RGBA_A, RGBA_B, RGBA_B, RGBA_B}));
    EXPECT_FALSE(image.has_alpha) << "the lower level's transparent pixel was read";
}

TEST_F(TextureDecodeTest, Format1555AlphaRules) {
    // Value 0 is the only see-through value; every value without the alpha bit marks the
    // texture as having alpha, even though it stays opaque.
    ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0x801F}}))));
    EXPECT_EQ(pixel(0), (Rgba{0, 0, 248, 255}));
    EXPECT_FALSE(image.has_alpha);

    ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0x001F}}))));
    EXPECT_EQ(pixel(0), (Rgba{0, 0, 248, 255}));
    EXPECT_TRUE(image.has_alpha);

    ASSERT_TRUE(decode(build_ogf(image_of_runs(2, 1, {{1, 0x8000}, {1, 0x0000}}))));
    EXPECT_EQ(pixel(0), (Rgba{0, 0, 0, 255})) << "alpha bit alone is opaque black";
    EXPECT_EQ(pixel(1), (Rgba{0, 0, 0, 0}));
    EXPECT_TRUE(image.has_alpha);

    ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0x7FFF}}))));
    EXPECT_EQ(pixel(0), (Rgba{248, 248, 248, 255}));
}

TEST_F(TextureDecodeTest, Format4444NibbleRules) {
    // 0x?111: each colour nibble 1, transparent whatever the top nibble holds.
    for (uint16_t value : {0x0111, 0xF111, 0x7000, 0x0001, 0x0000}) {
        ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, value}}, 0))));
        EXPECT_EQ(pixel(0)[3], 0) << std::hex << value;
        EXPECT_TRUE(image.has_alpha) << std::hex << value;
    }
    EXPECT_EQ(pixel(0), (Rgba{0, 0, 0, 0}));
    ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0xF111}}, 0))));
    EXPECT_EQ(pixel(0), (Rgba{16, 16, 16, 0})) << "colour kept, only alpha cleared";

    ASSERT_TRUE(decode(build_ogf(image_of_runs(3, 1, {{1, 0x0200}, {1, 0x0345}, {1, 0x0002}}, 0))));
    EXPECT_EQ(pixel(0), (Rgba{32, 0, 0, 255}));
    EXPECT_EQ(pixel(1), (Rgba{48, 64, 80, 255}));
    EXPECT_EQ(pixel(2), (Rgba{0, 0, 32, 255}));
    EXPECT_FALSE(image.has_alpha);
}

TEST_F(TextureDecodeTest, EveryFormatCodeBut122Means4444) {
    for (uint8_t code : {0, 121, 123, 255}) {
        ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0x0345}}, code))));
        EXPECT_EQ(pixel(0), (Rgba{48, 64, 80, 255})) << int(code);
    }
    ASSERT_TRUE(decode(build_ogf(image_of_runs(1, 1, {{1, 0x0345}}, 122))));
    EXPECT_EQ(pixel(0), (Rgba{0, 208, 40, 255})) << "1-5-5-5 reading of the same value";
    EXPECT_TRUE(image.has_alpha);
}

TEST_F(TextureDecodeTest, SizeLimitIs128PerSide) {
    std::vector<uint16_t> values(128 * 128, A);
    values.back() = B;
    ASSERT_TRUE(decode(build_ogf(make_ogf_image(128, 128, values))));
    EXPECT_EQ(pixel(0), RGBA_A);
    EXPECT_EQ(pixel(128 * 128 - 1), RGBA_B);
    EXPECT_TRUE(sink.boxes.empty());

    EXPECT_FALSE(decode(build_ogf(make_ogf_image(129, 1, std::vector<uint16_t>(129, A)))));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "Texture: width > 128");

    sink.boxes.clear();
    EXPECT_FALSE(decode(build_ogf(make_ogf_image(1, 129, std::vector<uint16_t>(129, A)))));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_text(), "Texture: height > 128");
}

TEST_F(TextureDecodeTest, A200By200ImageGivesBothMessagesHeightFirst) {
    EXPECT_FALSE(decode(build_ogf(make_ogf_image(200, 200, std::vector<uint16_t>(40000, A)))));
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[0].text, "Texture: height > 128");
    EXPECT_EQ(sink.boxes[1].text, "Texture: width > 128");
    EXPECT_EQ(sink.boxes[0].caption, "ERROR");
    EXPECT_EQ(sink.boxes[1].caption, "ERROR");
}

TEST_F(TextureDecodeTest, AnimatedTexturesDecodeTheirFirstFrameAfterEitherHeader) {
    std::vector<OgfImage> frames = {image_of_runs(2, 1, {{1, A}, {1, B}}),
                                    image_of_runs(2, 1, {{2, C}})};
    frames[0].name = "a much longer frame name than usual";
    for (OafHeaderForm form : {OafHeaderForm::short_form, OafHeaderForm::long_form}) {
        ASSERT_TRUE(decode(build_oaf(frames, form), TextureKind::animated));
        EXPECT_EQ(pixels(), (std::vector<Rgba>{RGBA_A, RGBA_B})) << int(form);
    }
    // Only 0x29 then 0x5C at bytes 5 and 6 announce the ten extra bytes.
    std::vector<uint8_t> swapped = build_oaf(frames);
    swapped[5] = 0x5C;
    swapped[6] = 0x29;
    ASSERT_TRUE(decode(swapped, TextureKind::animated));
    EXPECT_EQ(pixels(), (std::vector<Rgba>{RGBA_A, RGBA_B}));
}

TEST_F(TextureDecodeTest, EveryTruncatedPrefixDecodesMissingPixelsAsZero) {
    // 4-4-4-4 this time, where the value 0 is transparent black.
    OgfImage full =
        image_of_runs(6, 5, {{4, 0x0345}, {0, 0x0F00}, {9, 0x00F0}, {1, 0x000F}, {30, 0x0222}}, 7);
    full.lower_levels = {{{1, 0x0FFF}}};
    std::vector<uint8_t> bytes = build_oaf({full, full}, OafHeaderForm::long_form);
    size_t records_start = 17 + 3 + full.name.size() + 1 + 16;
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + length);
        ASSERT_TRUE(decode(prefix, TextureKind::animated)) << length;
        if (length < records_start)
            continue;
        // Expected: the whole records present, then value 0 for everything else.
        size_t whole = std::min((length - records_start) / 3, full.runs.size());
        OgfImage cut = full;
        cut.runs.resize(whole);
        cut.lower_levels.clear();
        std::vector<Rgba> got = pixels();
        bool got_alpha = image.has_alpha;
        ASSERT_TRUE(decode(build_ogf(cut)));
        EXPECT_EQ(got, pixels()) << length;
        EXPECT_EQ(got_alpha, image.has_alpha) << length;
        if (whole < 5) {
            EXPECT_EQ(got.back(), (Rgba{0, 0, 0, 0})) << length;
        }
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureDecodeTest, BytesNeededCoverTheHeadersAndAFullImage) {
    std::vector<uint8_t> still = build_ogf(image_of_runs(1, 1, {{1, A}}));
    EXPECT_EQ(texture_bytes_needed(still, TextureKind::still), 3 + 8 + 16 + 128 * 128 * 3u);
    std::vector<uint8_t> animated =
        build_oaf({image_of_runs(1, 1, {{1, A}})}, OafHeaderForm::long_form);
    EXPECT_EQ(texture_bytes_needed(animated, TextureKind::animated),
              17 + 3 + 8 + 16 + 128 * 128 * 3u);
    // Cut inside the image name: more bytes are needed to tell.
    still.resize(6);
    EXPECT_EQ(texture_bytes_needed(still, TextureKind::still), SIZE_MAX);
}

} // namespace
