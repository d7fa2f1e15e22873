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
    std::vector<Rgba> pixels() const {
        std::vector<Rgba> all(size_t(image.width) * image.height);
        std::memcpy(all.data(), texture_pixels, all.size() * 4);
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

// Width 10: the run of ten starts two pixels before the end of row 0; the last run overshoots
// the image, and a lower level of transparent pixels follows, which must not be read.
TEST_F(TextureDecodeTest, CountsZeroAndOneGiveOnePixelAndRunsCrossRowEndsButNotTheImageEnd) {
    OgfImage top = image_of_runs(10, 2, {{0, A}, {1, B}, {6, C}, {10, B}, {200, A}});
    top.lower_levels = {{{1, 0x0000}}};
    ASSERT_TRUE(decode(build_ogf(top)));
    EXPECT_EQ(image.width * 100 + image.height, 1002);
    std::vector<Rgba> expected = {RGBA_A, RGBA_B};
    expected.insert(expected.end(), 6, RGBA_C);
    expected.insert(expected.end(), 10, RGBA_B);
    expected.insert(expected.end(), 2, RGBA_A);
    EXPECT_EQ(pixels(), expected);
    EXPECT_FALSE(image.has_alpha) << "the lower level's transparent pixel was read";
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureDecodeTest, PixelFormatsAndTheirAlphaRules) {
    // 1-5-5-5: value 0 is the only see-through value, yet every value without the alpha bit
    // marks the texture as having alpha. 4-4-4-4 (every code but 122): the top nibble is
    // ignored and colour nibbles of 0 or 1 all round are transparent, colour kept.
    struct Case {
        uint8_t code;
        std::vector<uint16_t> values;
        std::vector<Rgba> expected;
        bool has_alpha;
    };
    const std::vector<Case> cases = {
        {122, {0x801F}, {{0, 0, 248, 255}}, false},
        {122, {0x001F}, {{0, 0, 248, 255}}, true},
        {122, {0x8000, 0x0000}, {{0, 0, 0, 255}, {0, 0, 0, 0}}, true},
        {122, {0x7FFF}, {{248, 248, 248, 255}}, true},
        {122, {0x0345}, {{0, 208, 40, 255}}, true},
        {0, {0x0111}, {{16, 16, 16, 0}}, true},
        {0, {0xF111}, {{16, 16, 16, 0}}, true},
        {0, {0x7000}, {{0, 0, 0, 0}}, true},
        {0, {0x0001}, {{0, 0, 16, 0}}, true},
        {0, {0x0000}, {{0, 0, 0, 0}}, true},
        {0, {0x0200, 0x0345, 0x0002}, {{32, 0, 0, 255}, {48, 64, 80, 255}, {0, 0, 32, 255}}, false},
        {121, {0x0345}, {{48, 64, 80, 255}}, false},
        {123, {0x0345}, {{48, 64, 80, 255}}, false},
        {255, {0x0345}, {{48, 64, 80, 255}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "code " << int(c.code) << " first value " << std::hex << c.values[0]);
        std::vector<OgfRun> runs;
        for (uint16_t v : c.values)
            runs.push_back({1, v});
        ASSERT_TRUE(decode(build_ogf(image_of_runs(uint16_t(runs.size()), 1, runs, c.code))));
        EXPECT_EQ(pixels(), c.expected);
        EXPECT_EQ(image.has_alpha, c.has_alpha);
    }
}

TEST_F(TextureDecodeTest, SizeLimitIs128PerSideHeightReportedFirst) {
    std::vector<uint16_t> values(128 * 128, A);
    values.back() = B;
    ASSERT_TRUE(decode(build_ogf(make_ogf_image(128, 128, values))));
    EXPECT_EQ(pixels().front(), RGBA_A);
    EXPECT_EQ(pixels().back(), RGBA_B);
    EXPECT_TRUE(sink.boxes.empty());

    const std::string HEIGHT = "Texture: height > 128", WIDTH = "Texture: width > 128";
    struct Case {
        uint16_t width, height;
        std::vector<std::string> texts;
    };
    for (const Case& c :
         {Case{129, 1, {WIDTH}}, Case{1, 129, {HEIGHT}}, Case{200, 200, {HEIGHT, WIDTH}}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        sink.boxes.clear();
        EXPECT_FALSE(decode(build_ogf(make_ogf_image(
            c.width, c.height, std::vector<uint16_t>(size_t(c.width) * c.height, A)))));
        ASSERT_EQ(sink.boxes.size(), c.texts.size());
        for (size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(sink.boxes[i].caption, "ERROR");
            EXPECT_EQ(sink.boxes[i].text, c.texts[i]);
        }
    }
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
