// load_cob: chunk walking, PolH transforms and faces, materials, standard output, early ends,
// and the conversion: groups into subobjects, dropped vertices, normals, texture names.
#include <cmath>
#include <cstring>
#include <functional>

#include "formats/cob_reader.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CobReaderTest : public CoreTest {
  protected:
    // Imports bytes; returns what the importer wrote to standard output.
    std::string import(const Bytes& bytes) {
        sink.boxes.clear();
        view.model_loaded = 0;
        std::string out = stdout_of([&] { load_cob_bytes(bytes); });
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(view.model_loaded, 1);
        return out;
    }
    // One PolH and the given materials, then END.
    std::string import(const CobBuildPolh& polh, const std::vector<CobBuildMaterial>& materials) {
        CobBuilder cob;
        cob.polh(polh);
        for (const auto& material : materials)
            cob.mat1(material);
        cob.end();
        return import(cob.bytes());
    }
};

const std::vector<Vec3> triangle = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}};

// One PolH over one triangle whose faces carry the given material numbers.
CobBuildPolh faces_with(std::initializer_list<uint16_t> materials) {
    CobBuildPolh polh = cob_single_face(triangle);
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

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
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
    const Bytes trailing_float = {0x99, 0x99, 0x19, 0x3f};
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
             cob.chunk("BitM", Bytes(300, 'P'));
             cob.chunk("Unit", {'M', 'a', 't', '1'});
             cob.polh(polh);
             cob.chunk("Chan", Bytes(7, 0xFF));
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
            for (uint32_t v = 0; v < model.num_vertices; ++v)
                EXPECT_EQ(model.vertex_sobj[v] * 10 + model.vertex_alpha[v], 1.0f);
        }
    }
}

TEST_F(CobReaderTest, TextureParametersRepeatThenOffsetPerMaterial) {
    import(faces_with({1, 0, 2}), {{0, 1, 1, 1, {}},
                                   {1, 1, 1, 1, cob_texture_map("a.bmp", 0.1f, 0, 2, 0)},
                                   { 2,
                                     1,
                                     1,
                                     1,
                                     cob_texture_map("b.bmp", 0, 0.25f, 0, 3) }});
    // Every corner has (0.5, 0.25).
    EXPECT_FLOAT_EQ(model.polygons[0].u[0], 0.9f);
    EXPECT_FLOAT_EQ(model.polygons[0].v[0], 0.25f);
    EXPECT_FLOAT_EQ(model.polygons[0].u[2], 0.9f);
    EXPECT_FLOAT_EQ(model.polygons[2].u[1], 0.5f);
    EXPECT_FLOAT_EQ(model.polygons[2].v[1], 0.5f);
    EXPECT_EQ(model.polygons[2].texture, 1u);
}

TEST_F(CobReaderTest, ChunksTheFileEndsInsideOrCutShortAreNotReadPastTheirEnd) {
    CobBuilder cob;
    cob.polh(faces_with({0}));
    cob.mat1({0, 0, 1, 0, {}});
    Bytes bytes = cob.bytes();
    bytes.pop_back();
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

    // "e:" and "t:" names claiming 65535 bytes inside a short Mat1, a group name likewise.
    CobBuilder names;
    uint32_t root = names.grou("root", {0, 0, 0});
    names.polh(cob_single_face(triangle), root);
    auto record = [](Bytes after) { // material 0, zeros, then `after`
        after.insert(after.begin(), 37, 0);
        return after;
    };
    names.chunk("Mat1", record({'e', ':', 0xFF, 0xFF}), root);
    names.chunk("Mat1", record({'t', ':', 2, 0xFF, 0xFF, 'l', 'o', 'n', 'g'}), root);
    names.chunk("Grou", {0, 0, 0xFF, 0xFF, 'a', 'b'}, root);
    names.polh(cob_single_face(triangle));
    names.end();
    import(names.bytes());
    EXPECT_EQ(model.num_subobjects, 2u);
    EXPECT_STREQ(model.sobj_name[1], "ab");
    EXPECT_EQ(model.num_polygons, 2u) << "the PolH after the damaged chunks is read";
    ASSERT_EQ(model.num_textures, 1u);
    EXPECT_STREQ(model.textures[0].name, "long");
}

TEST_F(CobReaderTest, GroupsBecomeSubobjectsWithOffsetsFromTheirParentsAndRelativeVertices) {
    CobBuilder cob;
    uint32_t root = cob.grou("Root", {1, 2, 3});
    cob.polh(cob_single_face({{4, 5, 6}, {0, 0, 0}, {0, 1, 0}}), root);
    uint32_t arm = cob.grou("Arm", {10, 20, 30}, root);
    cob.polh(cob_single_face({{11, 22, 33}, {10, 20, 30}, {10, 21, 30}}), arm);
    uint32_t hand = cob.grou("Hand", {12, 24, 36}, arm);
    cob.polh(cob_single_face({{13, 26, 39}, {12, 24, 36}, {12, 25, 36}}), hand);
    cob.grou("", {-1, -2, -4}, 99999); // parent id of no earlier group
    cob.polh(cob_single_face({{0, 0, 0}, {-1, -2, -4}, {-1, -1, -4}}));
    cob.grou(std::string(29, 'a') + "bcdef", {0, 0, 0});
    cob.polh(cob_single_face(triangle));
    cob.end();
    std::strcpy(model.sobj_props[4], "$rotate=5");
    EXPECT_EQ(import(cob.bytes()), " V=3, P=1, UV=1, S=0\n V=6, P=2, UV=2, S=1\n"
                                   " V=9, P=3, UV=3, S=2\n V=12, P=4, UV=4, S=3\n"
                                   " V=15, P=5, UV=5, S=4\n");

    ASSERT_EQ(model.num_subobjects, 5u);
    const char* names[] = {"Root", "Arm", "Hand", "None"};
    const int32_t parents[] = {-1, 0, 1, -1};
    // Subobject 0 stays at the origin; the others are offset from their parent's centre.
    const Vec3 offsets[] = {{0, 0, 0}, {-20, 30, 10}, {-4, 6, 2}, {2, -4, -1}};
    for (uint32_t s = 0; s < 4; ++s) {
        EXPECT_STREQ(model.sobj_name[s], names[s]);
        EXPECT_EQ(model.sobj_parent[s], parents[s]) << s;
        EXPECT_EQ(model.sobj_offset[s], offsets[s]) << s;
        EXPECT_EQ(model.polygons[s].sobj, s);
    }
    EXPECT_EQ(std::string(model.sobj_name[4]), std::string(29, 'a')) << "cut to 29 characters";
    EXPECT_STREQ(model.sobj_props[4], "");
    ASSERT_EQ(model.num_vertices, 15u);
    EXPECT_EQ(model.vertices[0], (Vec3{-5, 6, 4})) << "subobject 0 keeps absolute positions";
    EXPECT_EQ(model.vertices[3], (Vec3{-2, 3, 1}));
    EXPECT_EQ(model.vertices[6], (Vec3{-2, 3, 1}));
    EXPECT_EQ(model.vertices[9], (Vec3{-2, 4, 1}));
    const Vec3 written[12] = {{4, 5, 6},    {0, 0, 0},    {0, 1, 0},    {11, 22, 33},
                              {10, 20, 30}, {10, 21, 30}, {13, 26, 39}, {12, 24, 36},
                              {12, 25, 36}, {0, 0, 0},    {-1, -2, -4}, {-1, -1, -4}};
    for (uint32_t v = 0; v < 12; ++v) {
        EXPECT_EQ(model.vertex_sobj[v], v / 3) << v;
        // Model space: the position plus the offsets of its subobject chain.
        Vec3 p = model.vertices[v];
        for (int32_t s = model.vertex_sobj[v]; s >= 0; s = model.sobj_parent[s])
            p = {p.x + model.sobj_offset[s].x, p.y + model.sobj_offset[s].y,
                 p.z + model.sobj_offset[s].z};
        expect_near(p, {-written[v].y, written[v].z, written[v].x});
    }
}

TEST_F(CobReaderTest, UnusedVerticesAreDroppedAndTheOthersCloseUp) {
    CobBuildPolh polh = cob_single_face({{9, 9, 9}, {0, 0, 0}, {8, 8, 8}, {0, 1, 0}, {0, 1, 1}});
    polh.faces[0].points = {{1, 0}, {3, 0}, {4, 0}};
    polh.faces.push_back({{{4, 0}, {1, 0}, {3, 0}}});
    import(polh, {});
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(model.vertices[1], (Vec3{-1, 0, 0}));
    EXPECT_EQ(model.vertices[2], (Vec3{-1, 1, 0}));
    EXPECT_EQ((std::vector<uint32_t>{model.polygons[0].points[1], model.polygons[0].points[2],
                                     model.polygons[1].points[0]}),
              (std::vector<uint32_t>{1, 2, 2}));
}

TEST_F(CobReaderTest, FaceNormalsComeFromTheFirstThreeCornersAndVertexNormalsAverageTerms) {
    // Store corners p0 (0,0,0), p1 (1,0,0), p2 (1,1,0), q (1,0,-1), written in trueSpace axes.
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {-1, -1, 0}});
    polh.faces[0].points = {{0, 0}, {1, 0}, {2, 0}};  // normal (0, 0, 1)
    polh.faces.push_back({{{1, 0}, {3, 0}, {2, 0}}}); // normal (1, 0, 0)
    polh.faces.push_back(polh.faces[0]);              // (0, 0, 1) again
    polh.faces.push_back({{{0, 0}, {1, 0}}});         // two points: no plane
    import(polh, {});
    ASSERT_EQ(model.num_polygons, 4u);
    EXPECT_EQ(model.polygons[0].normal, (Vec3{0, 0, 1}));
    EXPECT_EQ(model.polygons[1].normal, (Vec3{1, 0, 0}));
    EXPECT_EQ(model.polygons[3].normal, (Vec3{0, 0, 0}));
    // p0: (0,0,1) twice and (0,0,0); p1: those plus (1,0,0); p2: (0,0,1) twice and (1,0,0).
    float a = 1 / std::sqrt(5.0f);
    expect_near(model.vertex_normals[0], {0, 0, 1});
    expect_near(model.vertex_normals[1], {a, 0, 2 * a});
    expect_near(model.vertex_normals[2], {a, 0, 2 * a});
    expect_near(model.vertex_normals[3], {1, 0, 0});
}

// Names lose folders and extension and are cut to 36; an earlier list is replaced and only the
// slots the faces use are referenced.
TEST_F(CobReaderTest, TextureNamesComeFromTheFileNames) {
    const std::pair<std::string, std::string> names[] = {
        {"maps\\wall.bmp", "wall"},
        {"c:/art/v2.0/hull", "hull"}, // the dot of a folder is no extension
        {"dir.v2\\plain", "plain"},
        {"two.dots.tga", "two.dots"},
        {".hidden", ""},
        {"d\\" + std::string(40, 'x') + ".bmp", std::string(36, 'x')},
        // Too long for its place in the import table: the end is kept.
        {"c:\\" + std::string(150, 'f') + "\\stone.bmp", "stone"},
        {"unused.bmp", "unused"},
    };
    model.num_textures = 20;
    for (auto& slot : model.textures)
        slot.referenced = 1;
    CobBuildPolh polh = cob_single_face(triangle, 0);
    std::vector<CobBuildMaterial> materials;
    for (uint16_t m = 0; m < std::size(names); ++m) {
        if (m > 0 && m + 1u < std::size(names))
            polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}, m});
        materials.push_back({m, 1, 1, 1, cob_texture_map(names[m].first)});
    }
    import(polh, materials);
    ASSERT_EQ(model.num_textures, std::size(names));
    for (uint32_t k = 0; k < std::size(names); ++k) {
        EXPECT_EQ(model.textures[k].name, names[k].second) << k;
        EXPECT_EQ(model.textures[k].referenced, k + 1 < std::size(names)) << k;
    }
}

} // namespace
