// Texture search: loose before archive, still before animated, the rename table, image files
// last, case rules, pipes passed over, the archive's fatal stops and the bounded read.
#include <array>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/hog_index.h"
#include "archive/texture_renames.h"
#include "archive/texture_search.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/image_file_builder.h"
#include "tools/texture_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;

// One opaque pixel per file, so the pixel tells where it came from.
constexpr uint16_t LOOSE = 0x8000 | 31 << 10;  // red
constexpr uint16_t ARCHIVE = 0x8000 | 31 << 5; // green
constexpr uint16_t ARCHIVE_2 = 0x8000 | 31;    // blue
constexpr Rgba RED{248, 0, 0, 255};
constexpr Rgba GREEN{0, 248, 0, 255};
constexpr Rgba BLUE{0, 0, 248, 255};

std::vector<uint8_t> one_pixel_ogf(uint16_t value) {
    return build_ogf(make_ogf_image(1, 1, {value}));
}

// A white second frame, so only the first frame can give the pixel.
std::vector<uint8_t> one_pixel_oaf(uint16_t value) {
    return build_oaf({make_ogf_image(1, 1, {value}), make_ogf_image(1, 1, {0xFFFF})},
                     OafHeaderForm::long_form);
}

class TextureSearchTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        old_cwd = std::filesystem::current_path();
        std::filesystem::create_directory(dir.root() / "work");
        std::filesystem::current_path(dir.root() / "work");
    }
    void TearDown() override {
        std::filesystem::current_path(old_cwd);
        CoreTest::TearDown();
    }
    void loose(const std::string& name, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(write_whole_file(name, bytes));
    }
    void archive(const std::vector<HogFile>& files) {
        std::strcpy(hog.hog_path, dir.write("textures.hog", build_hog(files)).c_str());
        load_hog();
    }
    // Loads texture name; the pixel found, or all zeros when it was not loaded.
    Rgba load(const char* name) {
        TextureImage image{};
        found_file[0] = '\0';
        loaded = load_texture_image(name, image, found_file);
        Rgba p{};
        if (loaded)
            std::memcpy(p.data(), texture_pixels, 4);
        return p;
    }

    std::filesystem::path old_cwd;
    char found_file[LOADED_FILE_LEN] = {};
    bool loaded = false;
};

TEST_F(TextureSearchTest, LooseBeatsArchiveAndStillAnywhereBeatsAnimated) {
    loose("rock.ogf", one_pixel_ogf(LOOSE));
    loose("rock.oaf", one_pixel_oaf(LOOSE));
    archive({{"rock.oaf", one_pixel_oaf(ARCHIVE_2)}, {"rock.ogf", one_pixel_ogf(ARCHIVE)}});
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
TEST_F(TextureSearchTest, NamesMatchIgnoringCaseLooseAndInTheArchive) {
    loose("ROCK.OGF", one_pixel_ogf(LOOSE));
    loose("Crate.ogf", one_pixel_ogf(LOOSE));
    // Pipes named like the textures are passed over without waiting, under the exact name and
    // by the lookup; a wait would end the test program.
    ASSERT_EQ(mkfifo("Rock.ogf", 0600), 0);
    ASSERT_EQ(mkfifo("hull.OGF", 0600), 0);
    archive({{"other.ogf", one_pixel_ogf(LOOSE)},
             {"readme.txt", std::vector<uint8_t>(77, 1)},
             {"Hull.Ogf", one_pixel_ogf(ARCHIVE)},
             {"hull.ogf", one_pixel_ogf(ARCHIVE_2)}});
    for (bool kept : {false, true}) {
        SCOPED_TRACE(kept ? "listing kept" : "folder listed each time");
        std::optional<FolderListingScope> listing;
        if (kept)
            listing.emplace();
        alarm(20);
        EXPECT_EQ(load("Rock"), RED);
        EXPECT_STREQ(found_file, "Rock.ogf") << "the name tried is kept";
        EXPECT_EQ(load("HULL"), GREEN) << "first matching entry, at its own offset";
        EXPECT_STREQ(found_file, "HULL.ogf");
        alarm(0);
        // A folder given with the name is listed too.
        EXPECT_EQ(find_ignoring_case("./crate.OGF"), "./Crate.ogf");
        EXPECT_EQ(find_ignoring_case("../work/CRATE.ogf"), "../work/Crate.ogf");
        EXPECT_EQ(find_ignoring_case("../work/missing.ogf"), "");
    }
    // A listing lives as long as the outermost scope: a file made after it is seen by the next.
    {
        FolderListingScope outer;
        { FolderListingScope inner; }
        EXPECT_EQ(find_ignoring_case("LATER.ogf"), "");
    }
    loose("Later.ogf", one_pixel_ogf(LOOSE));
    FolderListingScope next;
    EXPECT_EQ(find_ignoring_case("LATER.ogf"), "Later.ogf");
}

TEST_F(TextureSearchTest, TheRenameTableIsTheLastResortInItsKindsList) {
    archive({{"headlightflare.ogf", one_pixel_ogf(ARCHIVE)},
             {"explosion.ogf", one_pixel_ogf(ARCHIVE)},
             {"explosion.oaf", one_pixel_oaf(ARCHIVE_2)}});
    EXPECT_EQ(load("Corona26"), GREEN);
    EXPECT_STREQ(found_file, "headlightflare.ogf");
    // An animated row is looked up in the .oaf list only.
    EXPECT_EQ(load("FireBall01"), BLUE) << "first frame of explosion.oaf";
    EXPECT_STREQ(found_file, "explosion.oaf");
    EXPECT_EQ(load("fireball01"), BLUE) << "the model name matches ignoring case";

    loose("headlightflare.ogf", one_pixel_ogf(LOOSE));
    EXPECT_EQ(load("Corona26"), RED) << "a renamed file is looked for loose first";
    // A file under the texture's own name, even animated, comes before the table.
    loose("Corona26.oaf", one_pixel_oaf(LOOSE));
    load("Corona26");
    EXPECT_STREQ(found_file, "Corona26.oaf");

    load("pebble");
    EXPECT_FALSE(loaded);
    load("6escape");
    EXPECT_FALSE(loaded) << "7escape.ogf does not exist either";
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureSearchTest, ImageFilesAreTheLastResortLooseAndIgnoringCase) {
    auto image = [](ImageFileFormat format, Rgba colour) {
        return build_image_file(format, 1, 1, {colour.begin(), colour.end()});
    };
    loose("Wood.PNG", image(ImageFileFormat::png, RED));
    loose("wood.tga", image(ImageFileFormat::tga, GREEN));
    loose("WOOD.jpg", image(ImageFileFormat::jpg, BLUE));
    loose("headlightflare.ogf", one_pixel_ogf(ARCHIVE));
    loose("corona26.png", image(ImageFileFormat::png, RED));
    loose("rock.png", image(ImageFileFormat::png, RED));
    loose("broken.bmp", {'B', 'M', 1, 2, 3});
    loose("broken.jpg", image(ImageFileFormat::jpg, BLUE));
    archive(
        {{"rock.ogf", one_pixel_ogf(ARCHIVE)}, {"crate.png", image(ImageFileFormat::png, RED)}});
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

TEST_F(TextureSearchTest, AnArchiveThatCannotBeOpenedEndsTheProgram) {
    archive({{"rock.ogf", one_pixel_ogf(ARCHIVE)}, {"fire.oaf", one_pixel_oaf(ARCHIVE)}});
    std::filesystem::remove(hog.hog_path);
    EXPECT_EQ(exit_status_of([&] { load("rock"); }), -2);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "Ogf: Can't open the hog file");
    EXPECT_EQ(exit_status_of([&] { load("fire"); }), -2);
    EXPECT_EQ(last_text(), "Oaf: Can't open the hog file");
    // Never reached when the file is loose, or listed nowhere.
    sink.boxes.clear();
    loose("rock.ogf", one_pixel_ogf(LOOSE));
    EXPECT_EQ(load("rock"), RED);
    load("pebble");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TextureSearchTest, ReadsNoMoreThanAnImageCanUseWhateverTheNameLength) {
    OgfImage image = make_ogf_image(1, 1, {LOOSE});
    std::vector<uint8_t> bytes = build_ogf(image);
    size_t header = bytes.size() - 3;
    bytes.resize(bytes.size() + 1000000, 0x55);
    loose("padded.ogf", bytes);
    FileHandle file = open_for_reading("padded.ogf");
    EXPECT_EQ(read_texture_bytes(file.get(), 0, TextureKind::still).size(), header + 49152);

    image.name = std::string(100000, 'n');
    loose("longname.ogf", build_ogf(image));
    EXPECT_EQ(load("longname"), RED);
}

TEST(TextureRenames, ModelNamesAreKeysIgnoringCaseWithTheirExtension) {
    EXPECT_STREQ(find_texture_rename("6escape.ogf"), "7escape.ogf");
    EXPECT_STREQ(find_texture_rename("CONPANC01.OAF"), "ConPanC.oaf");
    EXPECT_STREQ(find_texture_rename("yellowspark01.oaf"), "yellowspark.oaf");
    EXPECT_STREQ(find_texture_rename("Tech Pan Neons A.oaf"), "TechPan.oaf");
    EXPECT_EQ(find_texture_rename("ConPanC.oaf"), nullptr) << "stored names are not keys";
    EXPECT_EQ(find_texture_rename("Corona26"), nullptr) << "the extension is part of the name";
}

} // namespace
