// The four trueSpace files of the shared test data import with the counts, names and colours
// that a walk of their chunks shows; skipped when the shared folder is absent.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

namespace fs = std::filesystem;

fs::path cob_folder() {
    const char* env = std::getenv("MESHLOOK_TESTDATA");
    // Without the variable: ../shared/testdata beside the repository (this file is tests/core).
    fs::path root = env && *env ? fs::path(env)
                                : fs::path(__FILE__).parent_path().parent_path().parent_path() /
                                      ".." / "shared" / "testdata";
    return root / "cob";
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
        copy_bounded(view.import_path, PATH_LEN, (cob_folder() / name).string());
        std::string printed = stdout_of([] { load_cob(); });
        EXPECT_TRUE(sink.boxes.empty()) << name;
        EXPECT_EQ(view.model_loaded, 1) << name;
        return printed;
    }
};

uint32_t polygons_coloured(uint8_t red, uint8_t green, uint8_t blue) {
    uint32_t n = 0;
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        n += polygon.n_txtr == 0 && polygon.color.red == red && polygon.color.green == green &&
             polygon.color.blue == blue;
    }
    return n;
}

uint32_t polygons_textured_with(uint32_t texture) {
    uint32_t n = 0;
    for (uint32_t p = 0; p < model.num_polygons; ++p)
        n += model.polygons[p].n_txtr == 1 && model.polygons[p].texture == texture;
    return n;
}

// Every index in the store addresses a filled entry.
void expect_consistent_store() {
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        ASSERT_LT(polygon.sobj, model.num_subobjects);
        if (polygon.n_txtr) {
            ASSERT_LT(polygon.texture, model.num_textures);
        }
        for (uint32_t k = 0; k < polygon.num_points; ++k)
            ASSERT_LT(polygon.points[k], model.num_vertices);
    }
}

TEST_F(CobRealFilesTest, DwarfHasOneGroupAndTwoTexturesDwarfAndAxe) {
    EXPECT_EQ(import("dwarf.cob"), " V=1485, P=1896, UV=1479, S=0\n");
    ASSERT_EQ(model.num_subobjects, 1u);
    EXPECT_STREQ(model.sobj_name[0], "Body");
    EXPECT_EQ(model.num_vertices, 1485u);
    EXPECT_EQ(model.num_polygons, 1896u) << "one polygon per face";
    ASSERT_EQ(model.num_textures, 2u);
    EXPECT_STREQ(model.textures[0].name, "dwarf");
    EXPECT_STREQ(model.textures[1].name, "axe");
    EXPECT_EQ(model.textures[0].referenced, 1);
    EXPECT_EQ(model.textures[1].referenced, 1);
    // Material #1 (dwarf.jpg) comes first in the file, #0 (axe.jpg) second.
    EXPECT_EQ(polygons_textured_with(0), 1664u);
    EXPECT_EQ(polygons_textured_with(1), 232u);
    expect_consistent_store();
}

TEST_F(CobRealFilesTest, MoleculeHasFourSpheresInOneGroupEachWithItsOwnMaterial) {
    EXPECT_EQ(import("molecule.cob"), " V=114, P=128, UV=153, S=0\n"
                                      " V=228, P=256, UV=306, S=0\n"
                                      " V=342, P=384, UV=459, S=0\n"
                                      " V=456, P=512, UV=612, S=0\n");
    ASSERT_EQ(model.num_subobjects, 1u);
    EXPECT_STREQ(model.sobj_name[0], "Nitrogen");
    EXPECT_EQ(model.num_vertices, 456u);
    EXPECT_EQ(model.num_polygons, 512u);
    EXPECT_EQ(model.num_textures, 0u);
    // Each PolH has its own material #0: a blue first sphere, three white ones.
    EXPECT_EQ(polygons_coloured(88, 111, 232), 128u);
    EXPECT_EQ(polygons_coloured(255, 255, 255), 384u);
    for (uint32_t p = 0; p < 128; ++p)
        ASSERT_EQ(model.polygons[p].color.blue, 232) << p;
    expect_consistent_store();
}

TEST_F(CobRealFilesTest, SpiderHasFourGreyMaterials) {
    EXPECT_EQ(import("spider_6_6.cob"), " V=762, P=1368, UV=1, S=0\n");
    ASSERT_EQ(model.num_subobjects, 1u);
    EXPECT_STREQ(model.sobj_name[0], "None");
    EXPECT_EQ(model.num_vertices, 762u);
    EXPECT_EQ(model.num_polygons, 1368u);
    EXPECT_EQ(model.num_textures, 0u);
    EXPECT_EQ(polygons_coloured(204, 204, 204), 80u);
    EXPECT_EQ(polygons_coloured(153, 153, 153), 260u);
    EXPECT_EQ(polygons_coloured(102, 102, 102), 952u);
    EXPECT_EQ(polygons_coloured(51, 51, 51), 76u);
    expect_consistent_store();
}

// A copy of the parts of the store an import fills, compared field by field.
struct ImportedStore {
    std::vector<Vec3> vertices, vertex_normals;
    std::vector<float> vertex_alpha;
    std::vector<uint16_t> vertex_sobj;
    std::vector<Polygon> polygons;
    std::vector<std::string> sobj_names, texture_names;
    std::vector<int32_t> sobj_parent;
    std::vector<Vec3> sobj_offset;

    static ImportedStore take() {
        ImportedStore s;
        s.vertices.assign(model.vertices, model.vertices + model.num_vertices);
        s.vertex_normals.assign(model.vertex_normals, model.vertex_normals + model.num_vertices);
        s.vertex_alpha.assign(model.vertex_alpha, model.vertex_alpha + model.num_vertices);
        s.vertex_sobj.assign(model.vertex_sobj, model.vertex_sobj + model.num_vertices);
        s.polygons.assign(model.polygons, model.polygons + model.num_polygons);
        for (uint32_t g = 0; g < model.num_subobjects; ++g) {
            s.sobj_names.push_back(model.sobj_name[g]);
            s.sobj_parent.push_back(model.sobj_parent[g]);
            s.sobj_offset.push_back(model.sobj_offset[g]);
        }
        for (uint32_t t = 0; t < model.num_textures; ++t)
            s.texture_names.push_back(model.textures[t].name);
        return s;
    }
};

void expect_same_polygon(const Polygon& a, const Polygon& b, uint32_t p) {
    ASSERT_EQ(a.num_points, b.num_points) << p;
    EXPECT_EQ(a.n_txtr, b.n_txtr) << p;
    EXPECT_EQ(a.texture, b.texture) << p;
    EXPECT_EQ(a.color.red, b.color.red) << p;
    EXPECT_EQ(a.color.green, b.color.green) << p;
    EXPECT_EQ(a.color.blue, b.color.blue) << p;
    EXPECT_EQ(a.sobj, b.sobj) << p;
    EXPECT_EQ(a.normal, b.normal) << p;
    for (uint32_t k = 0; k < a.num_points; ++k) {
        EXPECT_EQ(a.points[k], b.points[k]) << p;
        EXPECT_EQ(a.u[k], b.u[k]) << p;
        EXPECT_EQ(a.v[k], b.v[k]) << p;
    }
}

TEST_F(CobRealFilesTest, SpiderWithBytesAfterItsMaterialRecordsGivesTheSameStore) {
    import("spider_6_6.cob");
    ImportedStore plain = ImportedStore::take();
    reset_globals();
    std::string out = import("spider_4_3.cob");
    ImportedStore trailing = ImportedStore::take();

    std::string oops;
    for (int k = 0; k < 8; ++k) // the float after each of the four records: two unknown tags
        oops += " big oops...\n";
    EXPECT_EQ(out, " V=762, P=1368, UV=1, S=0\n" + oops);
    EXPECT_EQ(trailing.vertices, plain.vertices);
    EXPECT_EQ(trailing.vertex_normals, plain.vertex_normals);
    EXPECT_EQ(trailing.vertex_alpha, plain.vertex_alpha);
    EXPECT_EQ(trailing.vertex_sobj, plain.vertex_sobj);
    EXPECT_EQ(trailing.sobj_names, plain.sobj_names);
    EXPECT_EQ(trailing.sobj_parent, plain.sobj_parent);
    EXPECT_EQ(trailing.sobj_offset, plain.sobj_offset);
    EXPECT_EQ(trailing.texture_names, plain.texture_names);
    ASSERT_EQ(trailing.polygons.size(), plain.polygons.size());
    for (uint32_t p = 0; p < plain.polygons.size(); ++p)
        expect_same_polygon(trailing.polygons[p], plain.polygons[p], p);
    EXPECT_EQ(polygons_coloured(192, 192, 192), 0u) << "every face has its material";
}

} // namespace
