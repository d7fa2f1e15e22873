// The four trueSpace files of the shared test data import with the counts, names and colours a
// walk of their chunks shows; skipped when the shared folder is absent.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

namespace fs = std::filesystem;

fs::path cob_folder() {
    return shared_testdata_folder() / "cob";
}

class CobRealFilesTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        if (!fs::is_directory(cob_folder()))
            GTEST_SKIP() << "no shared test data at " << cob_folder();
    }
    // Imports a file of the shared folder and returns the importer's standard output.
    std::string import(const char* name) {
        reset_globals();
        copy_bounded(view.import_path, PATH_LEN, (cob_folder() / name).string());
        std::string printed = stdout_of([] { load_cob(); });
        EXPECT_TRUE(sink.boxes.empty());
        EXPECT_EQ(view.model_loaded, 1);
        return printed;
    }
};

// Flat polygons of each colour, and textured polygons of each texture.
std::map<std::string, uint32_t> polygon_looks() {
    std::map<std::string, uint32_t> looks;
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        if (polygon.n_txtr) {
            looks["texture " + std::to_string(polygon.texture)]++;
        } else {
            looks[std::to_string(polygon.color.red) + "," + std::to_string(polygon.color.green) +
                  "," + std::to_string(polygon.color.blue)]++;
        }
    }
    return looks;
}

TEST_F(CobRealFilesTest, EachFileImportsWithItsGroupsTexturesAndColours) {
    const struct {
        const char* file;
        std::string out;
        const char* group;
        uint32_t vertices, polygons;
        std::vector<std::string> textures;
        std::map<std::string, uint32_t> looks;
    } cases[] = {
        // Material #1 (dwarf.jpg) comes first in the file, #0 (axe.jpg) second.
        {"dwarf.cob",
         " V=1485, P=1896, UV=1479, S=0\n",
         "Body",
         1485,
         1896,
         {"dwarf", "axe"},
         {{"texture 0", 1664}, {"texture 1", 232}}},
        // Each PolH has its own material #0: a blue first sphere, three white ones.
        {"molecule.cob",
         " V=114, P=128, UV=153, S=0\n V=228, P=256, UV=306, S=0\n"
         " V=342, P=384, UV=459, S=0\n V=456, P=512, UV=612, S=0\n",
         "Nitrogen",
         456,
         512,
         {},
         {{"88,111,232", 128}, {"255,255,255", 384}}},
        {"spider_6_6.cob",
         " V=762, P=1368, UV=1, S=0\n",
         "None",
         762,
         1368,
         {},
         {{"204,204,204", 80}, {"153,153,153", 260}, {"102,102,102", 952}, {"51,51,51", 76}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(import(c.file), c.out);
        ASSERT_EQ(model.num_subobjects, 1u);
        EXPECT_STREQ(model.sobj_name[0], c.group);
        EXPECT_EQ(model.num_vertices, c.vertices);
        EXPECT_EQ(model.num_polygons, c.polygons) << "one polygon per face";
        ASSERT_EQ(model.num_textures, c.textures.size());
        for (uint32_t t = 0; t < c.textures.size(); ++t) {
            EXPECT_EQ(model.textures[t].name, c.textures[t]);
            EXPECT_EQ(model.textures[t].referenced, 1);
        }
        EXPECT_EQ(polygon_looks(), c.looks);
        expect_store_within_tables(true);
    }
}

// The float after each of the four material records reads as two unknown tags.
TEST_F(CobRealFilesTest, SpiderWithBytesAfterItsMaterialRecordsGivesTheSameStore) {
    import("spider_6_6.cob");
    static Polymodel plain;
    plain = model;
    std::string oops;
    for (int k = 0; k < 8; ++k)
        oops += " big oops...\n";
    EXPECT_EQ(import("spider_4_3.cob"), " V=762, P=1368, UV=1, S=0\n" + oops);
    EXPECT_EQ(std::memcmp(&plain, &model, sizeof model), 0) << "the stores differ";
    EXPECT_EQ(polygon_looks().count("192,192,192"), 0u) << "every face has its material";
}

} // namespace
