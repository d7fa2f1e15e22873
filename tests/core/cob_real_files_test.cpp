// The four trueSpace files of the shared test data import with the counts, names and colours a
// walk of their chunks shows; skipped when the shared folder is absent.
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
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
        expect_store_within_tables(true);
        return printed;
    }
};

// The subobjects and counts, the texture names ('-' after an unused one), then how many
// polygons show each texture ("t0") or flat colour ("r,g,b").
std::string summary() {
    std::ostringstream s;
    s << model.num_subobjects << ' ' << model.sobj_name[0] << ' ' << model.num_vertices << ' '
      << model.num_polygons << " |";
    for (const auto& t : std::span(model.textures, model.num_textures))
        s << ' ' << t.name << (t.referenced ? "" : "-");
    std::map<std::string, uint32_t> looks;
    for (const Polygon& p : std::span(model.polygons, model.num_polygons))
        ++looks[p.n_txtr ? "t" + std::to_string(p.texture)
                         : std::to_string(p.color.red) + "," + std::to_string(p.color.green) + "," +
                               std::to_string(p.color.blue)];
    s << " |";
    for (const auto& [look, n] : looks)
        s << ' ' << look << ' ' << n;
    return s.str();
}

TEST_F(CobRealFilesTest, EachFileImportsWithItsGroupsTexturesAndColours) {
    const char* cases[][3] = {
        // Material #1 (dwarf.jpg) comes first in the file, #0 (axe.jpg) second.
        {"dwarf.cob", " V=1485, P=1896, UV=1479, S=0\n",
         "1 Body 1485 1896 | dwarf axe | t0 1664 t1 232"},
        // Each PolH has its own material #0: a blue first sphere, three white ones.
        {"molecule.cob",
         " V=114, P=128, UV=153, S=0\n V=228, P=256, UV=306, S=0\n"
         " V=342, P=384, UV=459, S=0\n V=456, P=512, UV=612, S=0\n",
         "1 Nitrogen 456 512 | | 255,255,255 384 88,111,232 128"},
        {"spider_6_6.cob", " V=762, P=1368, UV=1, S=0\n",
         "1 None 762 1368 | | 102,102,102 952 153,153,153 260 204,204,204 80 51,51,51 76"},
    };
    for (const auto& [file, out, store] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(import(file), out);
        EXPECT_EQ(summary(), store);
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
}

} // namespace
