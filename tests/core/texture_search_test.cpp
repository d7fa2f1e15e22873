// Texture search: loose before archive, still before animated, the rename table, case
// rules, the archive's fatal stops and the bounded read.
#include <array>
#include <cstring>
#include <filesystem>

#include "archive/hog_index.h"
#include "archive/texture_renames.h"
#include "archive/texture_search.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;

// One opaque pixel per file, so the pixel tells where it came from.
constexpr uint16_t LOOSE = 0x8000 | 31 << 10;      // red
constexpr uint16_t ARCHIVE = 0x8000 | 31 << 5;     // green
constexpr uint16_t ARCHIVE_2 = 0x8000 | 31;        // blue
constexpr uint16_t SECOND_FRAME = 0x8000 | 0x7FFF; // white

std::vector<uint8_t> one_pixel_ogf(uint16_t value) {
    return build_ogf(make_ogf_image(1, 1, {value}));
}

std::vector<uint8_t> one_pixel_oaf(uint16_t value) {
    return build_oaf({make_ogf_image(1, 1, {value}), make_ogf_image(1, 1, {SECOND_FRAME})},
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

constexpr Rgba RED{248, 0, 0, 255};
constexpr Rgba GREEN{0, 248, 0, 255};
constexpr Rgba BLUE{0, 0, 248, 255};

TEST_F(TextureSearchTest, ALooseFileBeatsTheArchive) {
    loose("rock.ogf", one_pixel_ogf(LOOSE));
    archive({{"rock.ogf", one_pixel_ogf(ARCHIVE)}});
    EXPECT_EQ(load("rock"), RED);
    EXPECT_STREQ(found_file, "rock.ogf");
}

TEST_F(TextureSearchTest, AStillTextureAnywhereBeatsAnAnimatedOne) {
    loose("rock.oaf", one_pixel_oaf(LOOSE));
    archive({{"rock.oaf", one_pixel_oaf(ARCHIVE_2)}, {"rock.ogf", one_pixel_ogf(ARCHIVE)}});
    EXPECT_EQ(load("rock"), GREEN);
    EXPECT_STREQ(found_file, "rock.ogf");
    std::filesystem::remove("rock.oaf");
    hog.num_ogf = 0;
    EXPECT_EQ(load("rock"), BLUE) << "then the archive's animated texture, first frame";
    EXPECT_STREQ(found_file, "rock.oaf");
}

TEST_F(TextureSearchTest, NamesMatchIgnoringCaseLooseAndInTheArchive) {
    loose("ROCK.OGF", one_pixel_ogf(LOOSE));
    archive({{"other.ogf", one_pixel_ogf(LOOSE)},
             {"readme.txt", std::vector<uint8_t>(77, 1)},
             {"Hull.Ogf", one_pixel_ogf(ARCHIVE)},
             {"hull.ogf", one_pixel_ogf(ARCHIVE_2)}});
    EXPECT_EQ(load("Rock"), RED);
    EXPECT_STREQ(found_file, "Rock.ogf") << "the name tried is kept";
    EXPECT_EQ(load("HULL"), GREEN) << "first matching entry, at its own offset";
    EXPECT_STREQ(found_file, "HULL.ogf");
}

TEST_F(TextureSearchTest, TheRenameTableIsTheLastResort) {
    archive({{"headlightflare.ogf", one_pixel_ogf(ARCHIVE)},
             {"explosion.oaf", one_pixel_oaf(ARCHIVE_2)}});
    EXPECT_EQ(load("Corona26"), GREEN);
    EXPECT_STREQ(found_file, "headlightflare.ogf");
    EXPECT_EQ(load("FireBall01"), BLUE) << "first frame of explosion.oaf";
    EXPECT_STREQ(found_file, "explosion.oaf");
    EXPECT_EQ(load("fireball01"), BLUE) << "the model name matches ignoring case";

    // A file under the texture's own name, even animated, comes before the table.
    loose("Corona26.oaf", one_pixel_oaf(LOOSE));
    EXPECT_EQ(load("Corona26"), RED);
    EXPECT_STREQ(found_file, "Corona26.oaf");
}

TEST_F(TextureSearchTest, ARenamedFileIsLooseFirstAndKeepsItsKindsList) {
    loose("headlightflare.ogf", one_pixel_ogf(LOOSE));
    archive({{"headlightflare.ogf", one_pixel_ogf(ARCHIVE)},
             {"explosion.ogf", one_pixel_ogf(ARCHIVE)}});
    EXPECT_EQ(load("Corona26"), RED);
    load("FireBall01");
    EXPECT_FALSE(loaded) << "an animated row is looked up in the .oaf list only";
}

TEST_F(TextureSearchTest, ATextureFoundNowhereIsNotLoadedSilently) {
    archive({{"rock.ogf", one_pixel_ogf(ARCHIVE)}});
    load("pebble");
    EXPECT_FALSE(loaded);
    load("6escape");
    EXPECT_FALSE(loaded) << "7escape.ogf does not exist either";
    EXPECT_TRUE(sink.boxes.empty());
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

TEST_F(TextureSearchTest, AnOversizedTextureIsFoundButNotLoaded) {
    archive({{"big.ogf", build_ogf(make_ogf_image(200, 200, std::vector<uint16_t>(40000, 1)))}});
    load("big");
    EXPECT_FALSE(loaded);
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[0].text, "Texture: height > 128");
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

TEST(TextureRenames, TheKnownRowsInTableOrder) {
    ASSERT_EQ(NUM_TEXTURE_RENAMES, 71);
    EXPECT_STREQ(texture_renames[0].model_name, "6escape.ogf");
    EXPECT_STREQ(texture_renames[0].stored_name, "7escape.ogf");
    EXPECT_STREQ(texture_renames[4].model_name, "Corona26.ogf");
    EXPECT_STREQ(texture_renames[4].stored_name, "headlightflare.ogf");
    EXPECT_STREQ(texture_renames[9].model_name, "Corona30.ogf");
    EXPECT_STREQ(texture_renames[9].stored_name, "Sunflare.ogf");
    EXPECT_STREQ(texture_renames[10].model_name, "AntLite000.oaf");
    EXPECT_STREQ(texture_renames[27].model_name, "FireBall01.oaf");
    EXPECT_STREQ(texture_renames[27].stored_name, "explosion.oaf");
    EXPECT_STREQ(texture_renames[65].model_name, "Tech Pan Neons A.oaf");
    EXPECT_STREQ(texture_renames[70].model_name, "yellowspark01.oaf");
    EXPECT_STREQ(texture_renames[70].stored_name, "yellowspark.oaf");
    for (int i = 0; i < NUM_TEXTURE_RENAMES; ++i) {
        const char* extension = i < 10 ? ".ogf" : ".oaf";
        const TextureRename& row = texture_renames[i];
        EXPECT_LT(strnlen(row.model_name, 36), 36u);
        EXPECT_LT(strnlen(row.stored_name, 36), 36u);
        EXPECT_STREQ(row.model_name + std::strlen(row.model_name) - 4, extension) << i;
        EXPECT_STREQ(row.stored_name + std::strlen(row.stored_name) - 4, extension) << i;
        EXPECT_EQ(find_texture_rename(row.model_name), row.stored_name)
            << "model names are unique ignoring case: " << row.model_name;
    }
    EXPECT_STREQ(find_texture_rename("CONPANC01.OAF"), "ConPanC.oaf");
    EXPECT_EQ(find_texture_rename("ConPanC.oaf"), nullptr) << "stored names are not keys";
    EXPECT_EQ(find_texture_rename("Corona26"), nullptr) << "the extension is part of the name";
}

} // namespace
