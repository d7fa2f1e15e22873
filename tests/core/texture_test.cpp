// Textures: OGF/OAF decoding (runs, pixel formats, size limits, header forms, cut images) and
// the search (loose before archive, still before animated, case, renames, image files last,
// bounded reads).
#include <array>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/hog_index.h"
#include "archive/texture_decode.h"
#include "archive/texture_search.h"
#include "state/file_io.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/image_file_builder.h"
#include "tools/texture_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;
using Bytes = std::vector<uint8_t>;

// Opaque 1-5-5-5 values whose red, green and blue all differ.
constexpr uint16_t A = 0x8000 | 3 << 10 | 17 << 5 | 9, B = 0x8000 | 30 << 10 | 1 << 5 | 12;
constexpr uint16_t C = 0x8000 | 5 << 10 | 6 << 5 | 31;
constexpr Rgba RGBA_A{24, 136, 72, 255}, RGBA_B{240, 8, 96, 255}, RGBA_C{40, 48, 248, 255};

class TextureTest : public CoreTest {
  protected:
    bool decode(const Bytes& bytes, TextureKind kind = TextureKind::still) {
        return decode_texture(bytes, kind, image);
    }
    std::vector<Rgba> pixels() const {
        std::vector<Rgba> all(size_t(image.width) * image.height);
        std::memcpy(all.data(), texture_pixels, all.size() * 4);
        return all;
    }
    TextureImage image{};
};

// Width 10: the run of ten starts two pixels before the end of row 0; the last run overshoots
// the image, and a lower level of transparent pixels follows, which must not be read.
TEST_F(TextureTest, CountsZeroAndOneGiveOnePixelAndRunsCrossRowEndsButNotTheImageEnd) {
    OgfImage top = ogf_image_of_runs(10, 2, {{0, A}, {1, B}, {6, C}, {10, B}, {200, A}});
    top.lower_levels = {{{1, 0x0000}}};
    ASSERT_TRUE(decode(build_ogf(top)));
    std::vector<Rgba> expected = {RGBA_A, RGBA_B};
    expected.insert(expected.end(), 6, RGBA_C);
    expected.insert(expected.end(), 10, RGBA_B);
    expected.insert(expected.end(), 2, RGBA_A);
    EXPECT_EQ(pixels(), expected);
    EXPECT_FALSE(image.has_alpha) << "the lower level's transparent pixel was read";
}

// 1-5-5-5 (code 122): value 0 is the only see-through value, yet every value without the alpha
// bit marks the texture as having alpha. 4-4-4-4 (every other code): the top nibble is ignored
// and colour nibbles of 0 or 1 all round are transparent, colour kept.
TEST_F(TextureTest, PixelFormatsAndTheirAlphaRules) {
    const struct {
        uint8_t code;
        std::vector<uint16_t> values;
        std::vector<Rgba> expected;
        bool has_alpha;
    } cases[] = {
        {122, {0x801F}, {{0, 0, 248, 255}}, false},
        {122, {0x001F}, {{0, 0, 248, 255}}, true},
        {122, {0x8000, 0x0000}, {{0, 0, 0, 255}, {0, 0, 0, 0}}, true},
        {122, {0x0345}, {{0, 208, 40, 255}}, true},
        {0, {0xF111}, {{16, 16, 16, 0}}, true},
        {0, {0x0001}, {{0, 0, 16, 0}}, true},
        {0, {0x0200, 0x0345, 0x0002}, {{32, 0, 0, 255}, {48, 64, 80, 255}, {0, 0, 32, 255}}, false},
        {121, {0x0345}, {{48, 64, 80, 255}}, false},
        {123, {0x0345}, {{48, 64, 80, 255}}, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(decode(build_ogf(make_ogf_image(c.values.size(), 1, c.values, c.code))));
        EXPECT_EQ(pixels(), c.expected) << int(c.code) << " " << c.values[0];
        EXPECT_EQ(image.has_alpha, c.has_alpha) << int(c.code) << " " << c.values[0];
    }
}

TEST_F(TextureTest, SizeLimitIs128PerSideHeightReportedFirst) {
    std::vector<uint16_t> values(128 * 128, A);
    values.back() = B;
    ASSERT_TRUE(decode(build_ogf(make_ogf_image(128, 128, values))));
    EXPECT_EQ(pixels().back(), RGBA_B);
    const std::string HEIGHT = "ERROR Texture: height > 128", WIDTH = "ERROR Texture: width > 128";
    const struct {
        uint16_t width, height;
        std::vector<std::string> texts;
    } cases[] = {{129, 1, {WIDTH}}, {1, 129, {HEIGHT}}, {200, 200, {HEIGHT, WIDTH}}};
    for (const auto& c : cases) {
        sink.boxes.clear();
        EXPECT_FALSE(decode(build_ogf(make_ogf_image(c.width, c.height, {A}))));
        std::vector<std::string> shown;
        for (const RecordedBox& box : sink.boxes)
            shown.push_back(box.caption + " " + box.text);
        EXPECT_EQ(shown, c.texts);
    }
}

// Only 0x29 then 0x5C at bytes 5 and 6 announce the ten extra bytes of the long header.
TEST_F(TextureTest, AnimatedTexturesDecodeTheirFirstFrameAfterEitherHeader) {
    std::vector<OgfImage> frames = {make_ogf_image(2, 1, {A, B}), make_ogf_image(2, 1, {C, C})};
    frames[0].name = "a much longer frame name than usual";
    Bytes swapped = build_oaf(frames);
    swapped[5] = 0x5C;
    swapped[6] = 0x29;
    for (const Bytes& bytes :
         {build_oaf(frames), build_oaf(frames, OafHeaderForm::long_form), swapped}) {
        ASSERT_TRUE(decode(bytes, TextureKind::animated));
        EXPECT_EQ(pixels(), (std::vector<Rgba>{RGBA_A, RGBA_B}));
    }
}

// 4-4-4-4 this time, where the value 0 is transparent black.
TEST_F(TextureTest, EveryTruncatedPrefixDecodesMissingPixelsAsZero) {
    OgfImage full = ogf_image_of_runs(
        6, 5, {{4, 0x0345}, {0, 0x0F00}, {9, 0x00F0}, {1, 0x000F}, {30, 0x0222}}, 7);
    full.lower_levels = {{{1, 0x0FFF}}};
    Bytes bytes = build_oaf({full, full}, OafHeaderForm::long_form);
    size_t records_start = 17 + 3 + full.name.size() + 1 + 16;
    for (size_t length = 0; length < bytes.size(); ++length) {
        ASSERT_TRUE(decode(Bytes(bytes.begin(), bytes.begin() + length), TextureKind::animated));
        if (length < records_start)
            continue;
        std::vector<Rgba> got = pixels();
        bool got_alpha = image.has_alpha;
        // Expected: the whole records present, then value 0 for everything else.
        OgfImage cut = full;
        cut.runs.resize(std::min((length - records_start) / 3, full.runs.size()));
        cut.lower_levels.clear();
        ASSERT_TRUE(decode(build_ogf(cut)));
        EXPECT_EQ(got, pixels()) << length;
        EXPECT_EQ(got_alpha, image.has_alpha) << length;
        if (cut.runs.size() < 5) {
            EXPECT_EQ(got.back(), (Rgba{0, 0, 0, 0})) << length;
        }
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureTest, BytesNeededCoverTheHeadersAndAFullImage) {
    Bytes still = build_ogf(make_ogf_image(1, 1, {A}));
    EXPECT_EQ(texture_bytes_needed(still, TextureKind::still), 3 + 8 + 16 + 128 * 128 * 3u);
    Bytes animated = build_oaf({make_ogf_image(1, 1, {A})}, OafHeaderForm::long_form);
    EXPECT_EQ(texture_bytes_needed(animated, TextureKind::animated),
              17 + 3 + 8 + 16 + 128 * 128 * 3u);
    still.resize(6); // cut inside the image name: more bytes are needed to tell
    EXPECT_EQ(texture_bytes_needed(still, TextureKind::still), SIZE_MAX);
}

// One opaque pixel per file, so the pixel tells where it came from; animated files have a
// white second frame, so only the first frame can give the pixel.
constexpr uint16_t LOOSE = 0x8000 | 31 << 10, ARCHIVE = 0x8000 | 31 << 5, ARCHIVE_2 = 0x8000 | 31;
constexpr Rgba RED{248, 0, 0, 255}, GREEN{0, 248, 0, 255}, BLUE{0, 0, 248, 255};

Bytes ogf(uint16_t value) {
    return build_ogf(make_ogf_image(1, 1, {value}));
}

Bytes oaf(uint16_t value) {
    return build_oaf({make_ogf_image(1, 1, {value}), make_ogf_image(1, 1, {0xFFFF})},
                     OafHeaderForm::long_form);
}

class TextureSearchTest : public TextureTest {
  protected:
    void SetUp() override {
        TextureTest::SetUp();
        old_cwd = std::filesystem::current_path();
        std::filesystem::create_directory(dir.root() / "work");
        std::filesystem::current_path(dir.root() / "work");
    }
    void TearDown() override {
        std::filesystem::current_path(old_cwd);
        TextureTest::TearDown();
    }
    void archive(const std::vector<HogFile>& files) {
        copy_bounded(hog.hog_path, PATH_LEN, dir.write("textures.hog", build_hog(files)));
        load_hog();
    }
    // Loads texture name; the pixel found, or all zeros when it was not loaded.
    Rgba load(const char* name) {
        found_file[0] = '\0';
        loaded = load_texture_image(name, image, found_file);
        return loaded ? pixels()[0] : Rgba{};
    }

    std::filesystem::path old_cwd;
    char found_file[LOADED_FILE_LEN] = {};
    bool loaded = false;
};

TEST_F(TextureSearchTest, LooseBeatsArchiveAndStillAnywhereBeatsAnimated) {
    write_whole_file("rock.ogf", ogf(LOOSE));
    write_whole_file("rock.oaf", oaf(LOOSE));
    archive({{"rock.oaf", oaf(ARCHIVE_2)}, {"rock.ogf", ogf(ARCHIVE)}});
    EXPECT_EQ(load("rock"), RED);
    EXPECT_STREQ(found_file, "rock.ogf");
    std::filesystem::remove("rock.ogf");
    EXPECT_EQ(load("rock"), GREEN) << "the archive's still texture before a loose animated one";
    std::filesystem::remove("rock.oaf");
    hog.num_ogf = 0;
    EXPECT_EQ(load("rock"), BLUE) << "then the archive's animated texture, first frame";
    EXPECT_STREQ(found_file, "rock.oaf");
}

// With and without the listing kept for a texture load: the listing must give the same answers.
// Pipes named like the textures are passed over without waiting, under the exact name and by
// the lookup; a wait would end the test program.
TEST_F(TextureSearchTest, NamesMatchIgnoringCaseLooseAndInTheArchive) {
    write_whole_file("ROCK.OGF", ogf(LOOSE));
    write_whole_file("Crate.ogf", ogf(LOOSE));
    ASSERT_EQ(mkfifo("Rock.ogf", 0600) + mkfifo("hull.OGF", 0600), 0);
    archive({{"other.ogf", ogf(LOOSE)}, {"Hull.Ogf", ogf(ARCHIVE)}, {"hull.ogf", ogf(ARCHIVE_2)}});
    for (bool kept : {false, true}) {
        std::optional<FolderListingScope> listing;
        if (kept)
            listing.emplace();
        alarm(20);
        EXPECT_EQ(load("Rock"), RED) << kept;
        EXPECT_STREQ(found_file, "Rock.ogf") << "the name tried is kept";
        EXPECT_EQ(load("HULL"), GREEN) << "first matching entry, at its own offset";
        alarm(0);
        EXPECT_EQ(find_ignoring_case("../work/CRATE.ogf"), "../work/Crate.ogf");
        EXPECT_EQ(find_ignoring_case("./missing.ogf"), "");
    }
    // A listing lives as long as the outermost scope: a file made after it is seen by the next.
    {
        FolderListingScope outer;
        { FolderListingScope inner; }
        EXPECT_EQ(find_ignoring_case("LATER.ogf"), "");
    }
    write_whole_file("Later.ogf", ogf(LOOSE));
    FolderListingScope next;
    EXPECT_EQ(find_ignoring_case("LATER.ogf"), "Later.ogf");
}

TEST_F(TextureSearchTest, TheRenameTableIsTheLastResortInItsKindsList) {
    archive({{"headlightflare.ogf", ogf(ARCHIVE)},
             {"explosion.ogf", ogf(ARCHIVE)},
             {"explosion.oaf", oaf(ARCHIVE_2)}});
    EXPECT_EQ(load("Corona26"), GREEN);
    EXPECT_STREQ(found_file, "headlightflare.ogf");
    EXPECT_EQ(load("fireball01"), BLUE) << "an animated row is looked up in the .oaf list only";
    EXPECT_STREQ(found_file, "explosion.oaf");
    write_whole_file("headlightflare.ogf", ogf(LOOSE));
    EXPECT_EQ(load("Corona26"), RED) << "a renamed file is looked for loose first";
    write_whole_file("Corona26.oaf", oaf(LOOSE));
    load("Corona26");
    EXPECT_STREQ(found_file, "Corona26.oaf") << "the texture's own name, even animated, first";
    load("6escape");
    EXPECT_FALSE(loaded) << "7escape.ogf does not exist either";
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureSearchTest, ImageFilesAreTheLastResortLooseAndIgnoringCase) {
    auto image = [](ImageFileFormat format, Rgba colour) {
        return build_image_file(format, 1, 1, {colour.begin(), colour.end()});
    };
    write_whole_file("Wood.PNG", image(ImageFileFormat::png, RED));
    write_whole_file("wood.tga", image(ImageFileFormat::tga, GREEN));
    write_whole_file("WOOD.jpg", image(ImageFileFormat::jpg, BLUE));
    write_whole_file("headlightflare.ogf", ogf(ARCHIVE));
    write_whole_file("corona26.png", image(ImageFileFormat::png, RED));
    write_whole_file("rock.png", image(ImageFileFormat::png, RED));
    write_whole_file("broken.bmp", {'B', 'M', 1, 2, 3});
    write_whole_file("broken.jpg", image(ImageFileFormat::jpg, BLUE));
    archive({{"rock.ogf", ogf(ARCHIVE)}, {"crate.png", image(ImageFileFormat::png, RED)}});
    EXPECT_EQ(load("wood"), RED);
    EXPECT_STREQ(found_file, "wood.png");
    std::filesystem::remove("Wood.PNG");
    EXPECT_EQ(load("wood"), GREEN) << "then .tga";
    std::filesystem::remove("wood.tga");
    Rgba jpeg = load("wood");
    EXPECT_TRUE(jpeg[2] > 240 && jpeg[0] < 10 && jpeg[1] < 10);
    EXPECT_STREQ(found_file, "wood.jpg");
    EXPECT_EQ(load("Corona26"), GREEN) << "the rename table comes first";
    EXPECT_EQ(load("rock"), GREEN) << "and an archive's own textures";
    load("crate");
    EXPECT_FALSE(loaded) << "images are not looked for in the archive";
    load("broken");
    EXPECT_FALSE(loaded) << "the first file found is the texture";
    EXPECT_STREQ(found_file, "broken.bmp");
}

TEST_F(TextureSearchTest, AnArchiveThatCannotBeOpenedEndsTheProgramWhenAnEntryIsUsed) {
    archive({{"rock.ogf", ogf(ARCHIVE)}, {"fire.oaf", oaf(ARCHIVE)}});
    std::filesystem::remove(hog.hog_path);
    expect_stop([&] { load("rock"); }, "Ogf: Can't open the hog file", -2);
    expect_stop([&] { load("fire"); }, "Oaf: Can't open the hog file", -2);
    sink.boxes.clear();
    write_whole_file("rock.ogf", ogf(LOOSE));
    EXPECT_EQ(load("rock"), RED);
    load("pebble");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureSearchTest, ReadsNoMoreThanAnImageCanUseWhateverTheNameLength) {
    OgfImage image = make_ogf_image(1, 1, {LOOSE});
    Bytes bytes = build_ogf(image);
    size_t header = bytes.size() - 3;
    bytes.resize(bytes.size() + 1000000, 0x55);
    write_whole_file("padded.ogf", bytes);
    FileHandle file = open_for_reading("padded.ogf");
    EXPECT_EQ(read_texture_bytes(file.get(), 0, TextureKind::still).size(), header + 49152);
    image.name = std::string(100000, 'n');
    write_whole_file("longname.ogf", build_ogf(image));
    EXPECT_EQ(load("longname"), RED);
}

} // namespace
