// load_cob: chunk walking, PolH transforms and faces, materials (plain colours, texture maps,
// sub-chunks), the standard-output lines, and files that end early.
#include <cstring>

#include "formats/cob_reader.h"
#include "formats/cob_scene.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

class CobReaderTest : public CoreTest {
  protected:
    // Imports bytes as a .cob file and returns what the importer wrote to standard output.
    std::string import(const std::vector<uint8_t>& bytes) {
        copy_bounded(view.import_path, PATH_LEN, dir.write("object.cob", bytes));
        return stdout_of([] { load_cob(); });
    }
};

const std::vector<Vec3> triangle = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}};

CobBuildMaterial colour(uint16_t number, float red, float green, float blue,
                        std::vector<uint8_t> after = {}) {
    return {number, red, green, blue, std::move(after)};
}

CobBuildMaterial textured(uint16_t number, std::vector<uint8_t> after) {
    return {number, 0.8f, 0.8f, 0.8f, std::move(after)};
}

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// One PolH whose faces carry the given material numbers, each over the same triangle.
CobBuildPolh faces_with_materials(std::initializer_list<uint16_t> materials) {
    CobBuildPolh polh = cob_single_face(triangle);
    polh.faces.clear();
    for (uint16_t m : materials) {
        CobBuildFace face;
        face.material = m;
        face.points = {{0, 0}, {1, 0}, {2, 0}};
        polh.faces.push_back(face);
    }
    return polh;
}

void expect_colour(const Polygon& p, uint8_t red, uint8_t green, uint8_t blue) {
    EXPECT_EQ(p.n_txtr, 0u);
    EXPECT_EQ(p.color.red, red);
    EXPECT_EQ(p.color.green, green);
    EXPECT_EQ(p.color.blue, blue);
}

TEST_F(CobReaderTest, OnePolhWithoutGrouIsOneSubobjectHoldingEverything) {
    CobBuilder cob;
    cob.polh(faces_with_materials({0, 0}));
    cob.end();
    import(cob.bytes());
    EXPECT_EQ(view.model_loaded, 1);
    ASSERT_EQ(model.num_subobjects, 1u);
    EXPECT_EQ(model.sobj_parent[0], -1);
    EXPECT_EQ(model.sobj_offset[0], (Vec3{0, 0, 0}));
    EXPECT_STREQ(model.sobj_name[0], "None");
    ASSERT_EQ(model.num_polygons, 2u);
    EXPECT_EQ(model.polygons[0].sobj, 0u);
    EXPECT_EQ(model.polygons[1].sobj, 0u);
    ASSERT_EQ(model.num_vertices, 3u);
    for (uint32_t v = 0; v < 3; ++v) {
        EXPECT_EQ(model.vertex_sobj[v], 0u);
        EXPECT_EQ(model.vertex_alpha[v], 1.0f);
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(CobReaderTest, VerticesAreTransformedByThePolhMatrixThenTurnedIntoStoreAxes) {
    CobBuilder cob;
    cob.polh(cob_single_face({{1, 2, 3}, {0, 0, 0}, {0, 1, 0}}));
    CobBuildPolh moved = cob_single_face({{1, 2, 3}, {0, 0, 0}, {0, 1, 0}});
    float m[3][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    std::memcpy(moved.matrix, m, sizeof m);
    cob.polh(moved);
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_vertices, 6u);
    EXPECT_EQ(model.vertices[0], (Vec3{-2, 3, 1})) << "x = -y, y = z, z = x";
    // (1, 2, 3) -> (1+4+9+4, 5+12+21+8, 9+20+33+12) = (18, 46, 74) -> store (-46, 74, 18)
    EXPECT_EQ(model.vertices[3], (Vec3{-46, 74, 18}));
    EXPECT_EQ(model.vertices[4], (Vec3{-8, 12, 4})) << "the translation column alone";
    EXPECT_EQ(model.polygons[1].points[0], 3u) << "indices count over the whole file";
}

TEST_F(CobReaderTest, PlainColourMaterialGivesTruncatedBytesAndUndescribedFacesAreGrey) {
    CobBuilder cob;
    cob.polh(faces_with_materials({2, 1, 2}));
    cob.mat1(colour(2, 1.0f, 0.5f, 0.0f));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_polygons, 3u);
    expect_colour(model.polygons[0], 255, 127, 0);
    expect_colour(model.polygons[1], 192, 192, 192);
    expect_colour(model.polygons[2], 255, 127, 0);
    EXPECT_EQ(model.num_textures, 0u);
}

TEST_F(CobReaderTest, MaterialWithBytesAfterItsRecordButNoTextureMapIsAPlainColour) {
    // The four bytes of a float where a sub-chunk tag could be: two unknown tags.
    std::vector<uint8_t> trailing_float = {0x99, 0x99, 0x19, 0x3f};
    CobBuilder cob;
    cob.polh(faces_with_materials({1, 40}));
    cob.mat1(colour(1, 0.6f, 0.4f, 0.2f, trailing_float));
    cob.mat1(colour(40, 0.2f, 0.4f, 0.6f, trailing_float));
    cob.end();
    std::string out = import(cob.bytes());
    expect_colour(model.polygons[0], 153, 102, 51);
    expect_colour(model.polygons[1], 51, 102, 153);
    EXPECT_EQ(model.num_textures, 0u);
    EXPECT_EQ(out, " V=3, P=2, UV=1, S=0\n"
                   " big oops...\n big oops...\n big oops...\n big oops...\n");
}

TEST_F(CobReaderTest, ColoursOutsideZeroToOneAreHeldAtTheEndsOfTheByte) {
    CobBuilder cob;
    cob.polh(faces_with_materials({0}));
    cob.mat1(colour(0, -3.0f, 7.5f, 1e30f));
    cob.end();
    import(cob.bytes());
    expect_colour(model.polygons[0], 0, 255, 255);
}

TEST_F(CobReaderTest, TextureNamesAreDeduplicatedByExactComparison) {
    CobBuilder cob;
    cob.polh(faces_with_materials({0, 1, 2, 3, 5}));
    cob.mat1(textured(3, cob_texture_map("maps\\Wall.bmp")));
    cob.mat1(textured(0, cob_texture_map("maps\\wall.bmp")));
    cob.mat1(textured(1, cob_texture_map("maps\\wall.bmp")));
    cob.mat1(colour(2, 0, 0, 1));
    cob.mat1(textured(5, cob_texture_map("maps\\Wall.bmp")));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_textures, 2u) << "case differences give two entries";
    EXPECT_STREQ(model.textures[0].name, "Wall");
    EXPECT_STREQ(model.textures[1].name, "wall");
    uint32_t want[5] = {1, 1, 0, 0, 0};
    for (uint32_t p = 0; p < 5; ++p) {
        if (p == 2) {
            expect_colour(model.polygons[p], 0, 0, 255);
            continue;
        }
        EXPECT_EQ(model.polygons[p].n_txtr, 1u) << p;
        EXPECT_EQ(model.polygons[p].texture, want[p]) << p;
    }
    EXPECT_EQ(model.textures[0].referenced, 1);
    EXPECT_EQ(model.textures[1].referenced, 1);
}

TEST_F(CobReaderTest, TextureIndexRefersToTheNameListWhateverTheMaterialNumber) {
    CobBuilder cob;
    cob.polh(faces_with_materials({200, 7}));
    cob.mat1(textured(200, cob_texture_map("rock.tga")));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_textures, 1u);
    EXPECT_EQ(model.polygons[0].n_txtr, 1u);
    EXPECT_EQ(model.polygons[0].texture, 0u);
    expect_colour(model.polygons[1], 192, 192, 192);
}

TEST_F(CobReaderTest, MaterialsDescribeOnlyTheFacesOfTheMostRecentPolh) {
    CobBuilder cob;
    cob.mat1(colour(0, 0, 1, 0)); // before any PolH: describes nothing
    cob.polh(faces_with_materials({0}));
    cob.mat1(colour(0, 1, 0, 0));
    cob.polh(faces_with_materials({0}));
    cob.polh(faces_with_materials({0}));
    cob.mat1(colour(0, 0, 0, 1));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_polygons, 3u);
    expect_colour(model.polygons[0], 255, 0, 0);
    expect_colour(model.polygons[1], 192, 192, 192);
    expect_colour(model.polygons[2], 0, 0, 255);
}

TEST_F(CobReaderTest, SubChunksBeforeTheTextureMapAreSkippedAsTheirTagsSay) {
    CobBuilder cob;
    cob.polh(faces_with_materials({4}));
    cob.mat1(textured(4, join({cob_environment_map("sky.bmp"),
                               cob_bump_map(),
                               {'x', 'y'},
                               cob_texture_map("c:/art/hull.tga", 0.1f, 0, 2, 0),
                               cob_texture_map("ignored.bmp")})));
    cob.end();
    std::string out = import(cob.bytes());
    EXPECT_EQ(out, " V=3, P=1, UV=1, S=0\n big oops...\n");
    ASSERT_EQ(model.num_textures, 1u) << "reading stops at the first texture map";
    EXPECT_STREQ(model.textures[0].name, "hull");
    EXPECT_EQ(model.polygons[0].n_txtr, 1u);
}

TEST_F(CobReaderTest, TextureParametersRepeatThenOffsetPerMaterial) {
    CobBuilder cob;
    cob.polh(faces_with_materials({1, 0, 2}));
    cob.mat1(colour(0, 1, 1, 1));
    cob.mat1(textured(1, cob_texture_map("a.bmp", 0.1f, 0, 2, 0)));
    cob.mat1(textured(2, cob_texture_map("b.bmp", 0, 0.25f, 0, 3)));
    cob.end();
    import(cob.bytes()); // every corner has (0.5, 0.25)
    const Polygon& first = model.polygons[0];
    EXPECT_FLOAT_EQ(first.u[0], 0.9f);
    EXPECT_FLOAT_EQ(first.v[0], 0.25f);
    EXPECT_FLOAT_EQ(first.u[2], 0.9f);
    const Polygon& third = model.polygons[2];
    EXPECT_FLOAT_EQ(third.u[1], 0.5f);
    EXPECT_FLOAT_EQ(third.v[1], 0.5f);
    EXPECT_EQ(third.texture, 1u);
}

TEST_F(CobReaderTest, FacesWithoutMaterialNumberStayGreyAndTheNextFaceReadsRight) {
    CobBuildPolh polh = faces_with_materials({0, 0});
    polh.faces[0].flags = 8;
    polh.faces[0].material = 0; // not written
    polh.faces[1].points = {{2, 0}, {0, 0}, {1, 0}};
    CobBuilder cob;
    cob.polh(polh);
    cob.mat1(colour(0, 0, 1, 0));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_polygons, 2u);
    expect_colour(model.polygons[0], 192, 192, 192);
    expect_colour(model.polygons[1], 0, 255, 0);
    EXPECT_EQ(model.polygons[1].points[0], 2u);
    EXPECT_EQ(model.polygons[1].points[2], 1u);
}

TEST_F(CobReaderTest, UnknownChunksAndBytesAfterTheFacesAreSkippedBySize) {
    CobBuildPolh polh = faces_with_materials({0});
    polh.trailer = {'G', 'r', 'o', 'u', 1, 2, 3, 4, 5, 6, 7, 8, 9};
    CobBuilder cob;
    cob.chunk("BitM", std::vector<uint8_t>(300, 'P'));
    cob.chunk("Unit", {'M', 'a', 't', '1'});
    cob.polh(polh);
    cob.chunk("Chan", std::vector<uint8_t>(7, 0xFF));
    cob.mat1(colour(0, 0, 0, 1));
    cob.end();
    cob.polh(faces_with_materials({0})); // after the end: never read
    std::string out = import(cob.bytes());
    EXPECT_EQ(out, " V=3, P=1, UV=1, S=0\n");
    ASSERT_EQ(model.num_polygons, 1u);
    expect_colour(model.polygons[0], 0, 0, 255);
}

TEST_F(CobReaderTest, StdoutCarriesRunningTotalsAndTheGroupOfEachPolh) {
    CobBuildPolh big = faces_with_materials({0, 0, 0});
    big.uvs = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    big.vertices.push_back({5, 5, 5});
    CobBuilder cob;
    uint32_t root = cob.grou("root", {0, 0, 0});
    cob.polh(big, root);
    uint32_t arm = cob.grou("arm", {1, 1, 1}, root);
    cob.polh(faces_with_materials({0}), arm);
    cob.end();
    EXPECT_EQ(import(cob.bytes()), " V=4, P=3, UV=4, S=0\n V=7, P=4, UV=5, S=1\n");
}

TEST_F(CobReaderTest, FileWithoutEndConvertsWhatItRead) {
    CobBuilder cob;
    cob.polh(faces_with_materials({0}));
    cob.mat1(colour(0, 0, 1, 0));
    import(cob.bytes());
    EXPECT_EQ(view.model_loaded, 1);
    ASSERT_EQ(model.num_polygons, 1u);
    expect_colour(model.polygons[0], 0, 255, 0);
}

TEST_F(CobReaderTest, ChunkThatTheFileEndsInsideIsNotRead) {
    CobBuilder cob;
    cob.polh(faces_with_materials({0}));
    cob.mat1(colour(0, 0, 1, 0));
    std::vector<uint8_t> bytes = cob.bytes();
    bytes.resize(bytes.size() - 1);
    import(bytes);
    expect_colour(model.polygons[0], 192, 192, 192);

    CobBuilder stated_too_long;
    stated_too_long.polh(faces_with_materials({0}));
    stated_too_long.header("PolH", 5, 0, 0xFFFFFFF0u);
    stated_too_long.end();
    import(stated_too_long.bytes());
    EXPECT_EQ(model.num_polygons, 1u);
}

TEST_F(CobReaderTest, RecordsCutShortByTheirChunkReadZerosNotTheNextChunk) {
    // A Mat1 chunk of 10 bytes: the colour floats past its end read as 0, not the PolH after it.
    CobBuilder cob;
    cob.polh(faces_with_materials({3}));
    std::vector<uint8_t> short_record = {3, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0};
    cob.chunk("Mat1", short_record);
    cob.polh(faces_with_materials({3}));
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_polygons, 2u);
    expect_colour(model.polygons[0], 255, 0, 0);
}

} // namespace
