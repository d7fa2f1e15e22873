// load_cob: chunk walking, PolH transforms and faces, materials, standard output, early ends.
#include <cstring>
#include <functional>

#include "formats/cob_reader.h"
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

// One PolH over one triangle whose faces carry the given material numbers.
CobBuildPolh faces_with(std::initializer_list<uint16_t> materials) {
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}});
    polh.faces.clear();
    for (uint16_t m : materials)
        polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}, m});
    return polh;
}

// A face's expected look: a texture index, or a plain colour when texture is -1.
struct Look {
    int texture;
    uint8_t red = 0, green = 0, blue = 0;
};
Look rgb(uint8_t r, uint8_t g, uint8_t b) {
    return {-1, r, g, b};
}
const Look grey = rgb(192, 192, 192);

void expect_look(uint32_t p, Look want) {
    const Polygon& got = model.polygons[p];
    SCOPED_TRACE(testing::Message() << "polygon " << p);
    EXPECT_EQ(got.n_txtr, want.texture < 0 ? 0u : 1u);
    if (want.texture >= 0) {
        EXPECT_EQ(got.texture, uint32_t(want.texture));
    } else {
        EXPECT_EQ(got.color.red, want.red);
        EXPECT_EQ(got.color.green, want.green);
        EXPECT_EQ(got.color.blue, want.blue);
    }
}

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(CobReaderTest, VerticesAreTransformedByThePolhMatrixThenTurnedIntoStoreAxes) {
    CobBuilder cob;
    CobBuildPolh polh = cob_single_face({{1, 2, 3}, {0, 0, 0}, {0, 1, 0}});
    cob.polh(polh);
    float m[3][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    std::memcpy(polh.matrix, m, sizeof m);
    cob.polh(polh);
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_vertices, 6u);
    EXPECT_EQ(model.vertices[0], (Vec3{-2, 3, 1})) << "x = -y, y = z, z = x";
    // (1, 2, 3) -> (18, 46, 74) -> store (-46, 74, 18)
    EXPECT_EQ(model.vertices[3], (Vec3{-46, 74, 18}));
    EXPECT_EQ(model.vertices[4], (Vec3{-8, 12, 4})) << "the translation column alone";
    EXPECT_EQ(model.polygons[1].points[0], 3u) << "indices count over the whole file";
}

TEST_F(CobReaderTest, MaterialsGiveColoursOrTextureIndicesIntoTheNameList) {
    // The four bytes of a float where a sub-chunk tag could be: two unknown tags.
    const std::vector<uint8_t> trailing_float = {0x99, 0x99, 0x19, 0x3f};
    const std::string one = " V=3, P=1, UV=1, S=0\n", oops = " big oops...\n";
    struct Case {
        const char* what;
        std::function<void(CobBuilder&)> build;
        std::vector<Look> looks;
        std::vector<const char*> textures;
        std::string out;
    };
    const Case cases[] = {
        {"colour bytes by truncation, undescribed face grey",
         [](CobBuilder& cob) {
             cob.polh(faces_with({2, 1, 2}));
             cob.mat1({2, 1.0f, 0.5f, 0.0f, {}});
         },
         {rgb(255, 127, 0), grey, rgb(255, 127, 0)},
         {},
         " V=3, P=3, UV=1, S=0\n"},
        {"bytes after the record but no map: plain colour",
         [&](CobBuilder& cob) {
             cob.polh(faces_with({1, 40}));
             cob.mat1({1, 0.6f, 0.4f, 0.2f, trailing_float});
             cob.mat1({40, 0.2f, 0.4f, 0.6f, trailing_float});
         },
         {rgb(153, 102, 51), rgb(51, 102, 153)},
         {},
         " V=3, P=2, UV=1, S=0\n" + oops + oops + oops + oops},
        {"colours outside 0..1 held at the ends",
         [](CobBuilder& cob) {
             cob.polh(faces_with({0}));
             cob.mat1({0, -3.0f, 7.5f, 1e30f, {}});
         },
         {rgb(0, 255, 255)},
         {},
         one},
        {"names de-duplicated by exact comparison",
         [](CobBuilder& cob) {
             cob.polh(faces_with({0, 1, 2, 3, 5}));
             for (uint16_t m : {3, 0, 1, 5})
                 cob.mat1(
                     {m, 1, 1, 1, cob_texture_map(m > 2 ? "maps\\Wall.bmp" : "maps\\wall.bmp")});
             cob.mat1({2, 0, 0, 1, {}});
         },
         {{1}, {1}, rgb(0, 0, 255), {0}, {0}},
         {"Wall", "wall"},
         " V=3, P=5, UV=1, S=0\n"},
        {"texture index whatever the material number",
         [](CobBuilder& cob) {
             cob.polh(faces_with({200, 7}));
             cob.mat1({200, 1, 1, 1, cob_texture_map("rock.tga")});
         },
         {{0}, grey},
         {"rock"},
         " V=3, P=2, UV=1, S=0\n"},
        {"sub-chunks before the map skipped by their tags; first map wins",
         [](CobBuilder& cob) {
             cob.polh(faces_with({4}));
             cob.mat1({4, 1, 1, 1,
                       join({cob_environment_map("sky.bmp"),
                             cob_bump_map(),
                             {'x', 'y'},
                             cob_texture_map("c:/art/hull.tga"),
                             cob_texture_map("ignored.bmp")})});
         },
         {{0}},
         {"hull"},
         one + oops},
        {"materials describe only the faces of the most recent PolH",
         [](CobBuilder& cob) {
             cob.mat1({0, 0, 1, 0, {}}); // before any PolH: describes nothing
             cob.polh(faces_with({0}));
             cob.mat1({0, 1, 0, 0, {}});
             cob.polh(faces_with({0}));
             cob.polh(faces_with({0}));
             cob.mat1({0, 0, 0, 1, {}});
         },
         {rgb(255, 0, 0), grey, rgb(0, 0, 255)},
         {},
         one + " V=6, P=2, UV=2, S=0\n V=9, P=3, UV=3, S=0\n"},
        {"face without material number, then a face read right",
         [](CobBuilder& cob) {
             CobBuildPolh polh = faces_with({0, 0});
             polh.faces[0].flags = 8; // no material number written
             cob.polh(polh);
             cob.mat1({0, 0, 1, 0, {}});
         },
         {grey, rgb(0, 255, 0)},
         {},
         " V=3, P=2, UV=1, S=0\n"},
        {"unknown chunks and bytes after the faces skipped by size",
         [](CobBuilder& cob) {
             CobBuildPolh polh = faces_with({0});
             polh.trailer = {'G', 'r', 'o', 'u', 1, 2, 3, 4, 5, 6, 7, 8, 9};
             cob.chunk("BitM", std::vector<uint8_t>(300, 'P'));
             cob.chunk("Unit", {'M', 'a', 't', '1'});
             cob.polh(polh);
             cob.chunk("Chan", std::vector<uint8_t>(7, 0xFF));
             cob.mat1({0, 0, 0, 1, {}});
         },
         {rgb(0, 0, 255)},
         {},
         one},
    };
    for (const Case& c : cases) {
        for (bool end : {true, false}) { // a file without END converts what it read
            SCOPED_TRACE(testing::Message() << c.what << (end ? "" : ", no END"));
            reset_globals();
            CobBuilder cob;
            c.build(cob);
            if (end) {
                cob.end();
                cob.polh(faces_with({0})); // after the end: never read
            }
            EXPECT_EQ(import(cob.bytes()), c.out);
            EXPECT_EQ(view.model_loaded, 1);
            EXPECT_TRUE(sink.boxes.empty());
            ASSERT_EQ(model.num_polygons, c.looks.size());
            for (uint32_t p = 0; p < c.looks.size(); ++p)
                expect_look(p, c.looks[p]);
            ASSERT_EQ(model.num_textures, c.textures.size());
            for (uint32_t t = 0; t < c.textures.size(); ++t) {
                EXPECT_STREQ(model.textures[t].name, c.textures[t]);
                EXPECT_EQ(model.textures[t].referenced, 1);
            }
            // Without Grou: one subobject, "None" at the origin, holding everything.
            ASSERT_EQ(model.num_subobjects, 1u);
            EXPECT_EQ(model.sobj_parent[0], -1);
            EXPECT_EQ(model.sobj_offset[0], (Vec3{0, 0, 0}));
            EXPECT_STREQ(model.sobj_name[0], "None");
            for (uint32_t p = 0; p < model.num_polygons; ++p)
                EXPECT_EQ(model.polygons[p].sobj, 0u);
            for (uint32_t v = 0; v < model.num_vertices; ++v) {
                EXPECT_EQ(model.vertex_sobj[v], 0u);
                EXPECT_EQ(model.vertex_alpha[v], 1.0f);
            }
        }
    }
}

TEST_F(CobReaderTest, TextureParametersRepeatThenOffsetPerMaterial) {
    CobBuilder cob;
    cob.polh(faces_with({1, 0, 2}));
    cob.mat1({0, 1, 1, 1, {}});
    cob.mat1({1, 1, 1, 1, cob_texture_map("a.bmp", 0.1f, 0, 2, 0)});
    cob.mat1({2, 1, 1, 1, cob_texture_map("b.bmp", 0, 0.25f, 0, 3)});
    cob.end();
    import(cob.bytes()); // every corner has (0.5, 0.25)
    EXPECT_FLOAT_EQ(model.polygons[0].u[0], 0.9f);
    EXPECT_FLOAT_EQ(model.polygons[0].v[0], 0.25f);
    EXPECT_FLOAT_EQ(model.polygons[0].u[2], 0.9f);
    EXPECT_FLOAT_EQ(model.polygons[2].u[1], 0.5f);
    EXPECT_FLOAT_EQ(model.polygons[2].v[1], 0.5f);
    EXPECT_EQ(model.polygons[2].texture, 1u);
}

TEST_F(CobReaderTest, StdoutCarriesRunningTotalsAndTheGroupOfEachPolh) {
    CobBuildPolh big = faces_with({0, 0, 0});
    big.uvs = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    big.vertices.push_back({5, 5, 5});
    CobBuilder cob;
    uint32_t root = cob.grou("root", {0, 0, 0});
    cob.polh(big, root);
    cob.polh(faces_with({0}), cob.grou("arm", {1, 1, 1}, root));
    cob.end();
    EXPECT_EQ(import(cob.bytes()), " V=4, P=3, UV=4, S=0\n V=7, P=4, UV=5, S=1\n");
}

TEST_F(CobReaderTest, ChunksTheFileEndsInsideOrCutShortAreNotReadPastTheirEnd) {
    CobBuilder cob;
    cob.polh(faces_with({0}));
    cob.mat1({0, 0, 1, 0, {}});
    std::vector<uint8_t> bytes = cob.bytes();
    bytes.resize(bytes.size() - 1);
    import(bytes);
    expect_look(0, grey);

    CobBuilder stated_too_long;
    stated_too_long.polh(faces_with({0}));
    stated_too_long.header("PolH", 5, 0, 0xFFFFFFF0u);
    stated_too_long.end();
    import(stated_too_long.bytes());
    EXPECT_EQ(model.num_polygons, 1u);

    // A Mat1 chunk of 10 bytes: the colour floats past its end read as 0, not the next PolH.
    CobBuilder short_record;
    short_record.polh(faces_with({3}));
    short_record.chunk("Mat1", {3, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0});
    short_record.polh(faces_with({3}));
    short_record.end();
    import(short_record.bytes());
    ASSERT_EQ(model.num_polygons, 2u);
    expect_look(0, rgb(255, 0, 0));
}

} // namespace
