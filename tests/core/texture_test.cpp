// Textures: OGF/OAF decoding (runs, pixel formats, size limits, header forms, cut images) and
// the search (loose before archive, still before animated, case, renames, image files last,
// bounded reads).
#include <array>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "archive/hog_index.h"
#include "archive/texture_decode.h"
#include "archive/texture_search.h"
#include "state/file_io.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

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

// Runs of width 10: counts 0 and 1 give one pixel, the run of ten crosses the end of row 0, the
// last run overshoots the image, and a lower level of transparent pixels follows, which must not
// be read. 1-5-5-5 (code 122): value 0 is the only see-through value, yet every value without the
// alpha bit marks the texture as having alpha. 4-4-4-4 (every other code): the top nibble is
// ignored and colour nibbles of 0 or 1 all round are transparent, colour kept. An animated
// texture gives its first frame after either header: only 0x29 then 0x5C at bytes 5 and 6
// announce the ten extra bytes of the long header.
TEST_F(TextureTest, RunsPixelFormatsAndHeadersDecodeToTheirPixels) {
    OgfImage runs = ogf_image_of_runs(10, 2, {{0, A}, {1, B}, {6, C}, {10, B}, {200, A}});
    runs.lower_levels = {{{1, 0x0000}}};
    std::vector<Rgba> run_pixels = {RGBA_A, RGBA_B};
    run_pixels.insert(run_pixels.end(), 6, RGBA_C);
    run_pixels.insert(run_pixels.end(), 10, RGBA_B);
    run_pixels.insert(run_pixels.end(), 2, RGBA_A);
    std::vector<OgfImage> frames = {make_ogf_image(2, 1, {A, B}), make_ogf_image(2, 1, {C, C})};
    frames[0].name = "a much longer frame name than usual";
    Bytes swapped = build_oaf(frames);
    std::swap(swapped[5], swapped[6]);
    auto row = [](uint8_t code, std::vector<uint16_t> values) {
        return build_ogf(make_ogf_image(values.size(), 1, values, code));
    };
    const auto animated = TextureKind::animated;
    const struct {
        Bytes bytes;
        std::vector<Rgba> expected;
        bool has_alpha;
        TextureKind kind = TextureKind::still;
    } cases[] = {
        {build_ogf(runs), run_pixels, false},
        {row(122, {0x801F}), {{0, 0, 248, 255}}, false},
        {row(122, {0x8000, 0x0000}), {{0, 0, 0, 255}, {0, 0, 0, 0}}, true},
        {row(122, {0x0345}), {{0, 208, 40, 255}}, true},
        {row(0, {0xF111}), {{16, 16, 16, 0}}, true},
        {row(0, {0x0001}), {{0, 0, 16, 0}}, true},
        {row(0, {0x0200, 0x0345, 0x0002}),
         {{32, 0, 0, 255}, {48, 64, 80, 255}, {0, 0, 32, 255}},
         false},
        {row(121, {0x0345}), {{48, 64, 80, 255}}, false},
        {row(123, {0x0345}), {{48, 64, 80, 255}}, false},
        {build_oaf(frames), {RGBA_A, RGBA_B}, false, animated},
        {build_oaf(frames, OafHeaderForm::long_form), {RGBA_A, RGBA_B}, false, animated},
        {swapped, {RGBA_A, RGBA_B}, false, animated},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(decode(cases[i].bytes, cases[i].kind)) << i;
        EXPECT_EQ(pixels(), cases[i].expected) << i;
        EXPECT_EQ(image.has_alpha, cases[i].has_alpha) << i;
    }
}

TEST_F(TextureTest, SizeLimitIs128PerSideHeightReportedFirst) {
    std::vector<uint16_t> values(128 * 128, A);
    values.back() = B;
    ASSERT_TRUE(decode(build_ogf(make_ogf_image(128, 128, values))));
    EXPECT_EQ(pixels().back(), RGBA_B);
    const std::string H = "ERROR Texture: height > 128\n", W = "ERROR Texture: width > 128\n";
    for (auto [width, height, texts] : {std::tuple{129, 1, W}, {1, 129, H}, {200, 200, H + W}}) {
        sink.boxes.clear();
        EXPECT_FALSE(decode(build_ogf(make_ogf_image(width, height, {A}))));
        EXPECT_EQ(shown(), texts);
    }
}

// Every prefix of a file decodes as the whole records present, then value 0 (4-4-4-4 here,
// transparent black) for everything else.
TEST_F(TextureTest, EveryTruncatedPrefixDecodesMissingPixelsAsZero) {
    OgfImage full = ogf_image_of_runs(
        6, 5, {{4, 0x0345}, {0, 0x0F00}, {9, 0x00F0}, {1, 0x000F}, {30, 0x0222}}, 7);
    full.lower_levels = {{{1, 0x0FFF}}};
    Bytes bytes = build_oaf({full, full}, OafHeaderForm::long_form);
    size_t records_start = 17 + 3 + full.name.size() + 1 + 16;
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::memset(texture_pixels, 0xAB, sizeof texture_pixels); // what a previous image left
        ASSERT_TRUE(decode(Bytes(bytes.begin(), bytes.begin() + length), TextureKind::animated));
        if (length < records_start)
            continue;
        std::vector<Rgba> got = pixels();
        bool got_alpha = image.has_alpha;
        OgfImage cut = full;
        cut.runs.resize(std::min((length - records_start) / 3, full.runs.size()));
        cut.lower_levels.clear();
        ASSERT_TRUE(decode(build_ogf(cut)));
        EXPECT_EQ(got, pixels()) << length;
        EXPECT_EQ(got_alpha, image.has_alpha) << length;
        EXPECT_TRUE(cut.runs.size() == 5 || got.back() == (Rgba{0, 0, 0, 0})) << length;
    }
    EXPECT_TRUE(sink.boxes.empty());
}

// A cut header needs more bytes to tell; else the headers and a full image. A file found is read
// no further than that, whatever its name length.
TEST_F(TextureTest, ReadsNoMoreThanAnImageCanUse) {
    OgfImage one = make_ogf_image(1, 1, {A});
    Bytes still = build_ogf(one);
    EXPECT_EQ(texture_bytes_needed(still, TextureKind::still), 3 + 8 + 16 + 128 * 128 * 3u);
    EXPECT_EQ(
        texture_bytes_needed(build_oaf({one}, OafHeaderForm::long_form), TextureKind::animated),
        17 + 3 + 8 + 16 + 128 * 128 * 3u);
    EXPECT_EQ(texture_bytes_needed(Bytes(still.begin(), still.begin() + 6), TextureKind::still),
              SIZE_MAX);
    size_t header = still.size() - 3;
    still.resize(still.size() + 1000000, 0x55);
    FileHandle file = open_for_reading(dir.write("padded.ogf", still));
    EXPECT_EQ(read_texture_bytes(file.get(), 0, TextureKind::still).size(), header + 49152);
    one.name = std::string(100000, 'n');
    file = open_for_reading(dir.write("long.ogf", build_ogf(one)));
    ASSERT_TRUE(decode(read_texture_bytes(file.get(), 0, TextureKind::still)));
    EXPECT_EQ(pixels(), std::vector{RGBA_A});
}

std::vector<std::string> words_of(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

class TextureSearchTest : public TextureTest {
  protected:
    // Puts the working folder back before the temporary folder is removed.
    struct WorkingFolder {
        fs::path old = fs::current_path();
        ~WorkingFolder() { fs::current_path(old); }
    } working_folder;
    // A fresh working folder with the loose files (a trailing '|' makes a pipe) and an archive.
    // Loose files are red, archive entry i has blue i + 1, so the pixel tells where a texture
    // came from.
    void files(const std::string& folder, const std::string& loose, const std::string& entries) {
        fs::create_directory(dir.root() / folder);
        fs::current_path(dir.root() / folder);
        for (std::string name : words_of(loose))
            if (name.ends_with('|'))
                ASSERT_EQ(mkfifo(name.substr(0, name.size() - 1).c_str(), 0600), 0);
            else
                write_whole_file(name, one_pixel_texture_file(name, 0x8000 | 31 << 10));
        std::vector<HogFile> archive;
        for (std::string name : words_of(entries))
            archive.push_back(
                {name, one_pixel_texture_file(name, 0x8000 | uint16_t(archive.size() + 1))});
        copy_bounded(hog.hog_path, PATH_LEN, dir.write(folder + ".hog", build_hog(archive)));
        load_hog();
    }
    // The file found, "@i" when archive entry i gave the pixel, "!" first when not loaded.
    std::string load(const char* name) {
        char found[LOADED_FILE_LEN] = {};
        if (!load_texture_image(name, image, found))
            return "!" + std::string(found);
        Rgba pixel = pixels()[0];
        return found + (pixel[0] > 200 ? "" : "@" + std::to_string(pixel[2] / 8 - 1));
    }
};

// With and without the listing kept for a texture load: the listing must give the same answers.
// Pipes named like the textures are passed over without waiting; a wait would end the program.
TEST_F(TextureSearchTest, SearchOrder) {
    const struct {
        const char *loose, *archive, *name, *expected;
    } cases[] = {
        {"rock.ogf rock.oaf", "rock.oaf rock.ogf", "rock", "rock.ogf"},
        {"rock.oaf", "rock.oaf rock.ogf", "rock", "rock.ogf@1"},
        {"rock.oaf", "rock.oaf", "rock", "rock.oaf"},
        {"", "other.ogf rock.oaf", "rock", "rock.oaf@1"},
        {"Rock.ogf| ROCK.OGF", "", "Rock", "Rock.ogf"},
        {"hull.OGF|", "other.ogf Hull.Ogf hull.ogf", "HULL", "HULL.ogf@1"},
        {"", "headlightflare.ogf explosion.ogf explosion.oaf", "Corona26", "headlightflare.ogf@0"},
        {"", "headlightflare.ogf explosion.ogf explosion.oaf", "fireball01", "explosion.oaf@2"},
        {"headlightflare.ogf", "headlightflare.ogf", "Corona26", "headlightflare.ogf"},
        {"Corona26.oaf", "headlightflare.ogf", "Corona26", "Corona26.oaf"},
        {"", "", "6escape", "!"},
        {"Wood.PNG wood.tga WOOD.jpg", "", "wood", "wood.png"},
        {"wood.tga WOOD.jpg", "", "wood", "wood.tga"},
        {"WOOD.jpg", "", "wood", "wood.jpg"},
        {"headlightflare.ogf corona26.png", "", "Corona26", "headlightflare.ogf"},
        {"rock.png", "rock.ogf", "rock", "rock.ogf@0"},
        {"", "crate.png", "crate", "!"},
        {"broken.bmp broken.jpg", "", "broken", "!broken.bmp"},
    };
    for (bool kept : {false, true}) {
        std::optional<FolderListingScope> listing;
        for (size_t i = 0; i < std::size(cases); ++i) {
            files(std::to_string(kept) + "-" + std::to_string(i), cases[i].loose, cases[i].archive);
            if (kept)
                listing.emplace();
            alarm(20);
            EXPECT_EQ(load(cases[i].name), cases[i].expected) << kept << " " << i;
            alarm(0);
        }
    }
    EXPECT_EQ(find_ignoring_case("../1-13/wood.JPG"), "../1-13/WOOD.jpg");
    EXPECT_EQ(find_ignoring_case("./missing.ogf"), "");
    EXPECT_TRUE(sink.boxes.empty());
}

// A listing lives as long as the outermost scope: a file made after it is seen by the next.
TEST_F(TextureSearchTest, ListingLastsAsLongAsTheOutermostScope) {
    files("work", "", "");
    {
        FolderListingScope outer;
        { FolderListingScope inner; }
        EXPECT_EQ(find_ignoring_case("LATER.ogf"), "");
    }
    write_whole_file("Later.ogf", {});
    FolderListingScope next;
    EXPECT_EQ(find_ignoring_case("LATER.ogf"), "Later.ogf");
}

// Later lookups reuse a listing while the folder's time stands; any change lists it again.
TEST_F(TextureSearchTest, ListingIsReusedWhileTheFolderIsUnchanged) {
    files("kept", "", "");
    // Two seconds back: the least age at which a listing is trusted.
    const timespec old[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 2, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, ".", old, 0), 0);
    EXPECT_EQ(find_ignoring_case("SEEN.ogf"), "");
    write_whole_file("Seen.ogf", {});
    ASSERT_EQ(utimensat(AT_FDCWD, ".", old, 0), 0); // the change hidden: the listing stands
    EXPECT_EQ(find_ignoring_case("SEEN.ogf"), "");
    write_whole_file("other", {});
    EXPECT_EQ(find_ignoring_case("SEEN.ogf"), "Seen.ogf");
    // A listing read within a second of the folder's last change may miss a change made in the
    // same clock tick, so it is not reused.
    const timespec now[2] = {{0, UTIME_OMIT}, {std::time(nullptr), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, ".", now, 0), 0);
    EXPECT_EQ(find_ignoring_case("LATE.ogf"), "");
    write_whole_file("Late.ogf", {});
    ASSERT_EQ(utimensat(AT_FDCWD, ".", now, 0), 0);
    EXPECT_EQ(find_ignoring_case("LATE.ogf"), "Late.ogf");
}

TEST_F(TextureSearchTest, AnArchiveThatCannotBeOpenedEndsTheProgramWhenAnEntryIsUsed) {
    files("work", "rock.ogf", "rock.ogf fire.oaf");
    std::filesystem::remove(hog.hog_path);
    EXPECT_EQ(load("rock"), "rock.ogf");
    load("pebble");
    EXPECT_TRUE(sink.boxes.empty());
    std::filesystem::remove("rock.ogf");
    expect_stop([&] { load("rock"); }, "Ogf: Can't open the hog file", -2);
    expect_stop([&] { load("fire"); }, "Oaf: Can't open the hog file", -2);
}

} // namespace
