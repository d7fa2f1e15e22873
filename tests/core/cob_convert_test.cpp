// convert_cob: groups into subobjects, dropped vertices, normals, texture names from file names.
#include <cmath>
#include <cstring>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

class CobConvertTest : public CoreTest {
  protected:
    void import(const CobBuilder& cob) {
        copy_bounded(view.import_path, PATH_LEN, dir.write("scene.scn", cob.bytes()));
        stdout_of([] { load_cob(); });
    }
    // One PolH and the given materials, then END.
    void import(const CobBuildPolh& polh, const std::vector<CobBuildMaterial>& materials = {}) {
        CobBuilder cob;
        cob.polh(polh);
        for (const auto& material : materials)
            cob.mat1(material);
        cob.end();
        import(cob);
    }
};

const std::vector<Vec3> triangle = {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}};

TEST_F(CobConvertTest, GroupsBecomeSubobjectsWithOffsetsFromTheirParentsAndRelativeVertices) {
    CobBuilder cob;
    uint32_t root = cob.grou("Root", {1, 2, 3});
    cob.polh(cob_single_face({{4, 5, 6}, {0, 0, 0}, {0, 1, 0}}), root);
    uint32_t arm = cob.grou("Arm", {10, 20, 30}, root);
    cob.polh(cob_single_face({{11, 22, 33}, {10, 20, 30}, {10, 21, 30}}), arm);
    uint32_t hand = cob.grou("Hand", {12, 24, 36}, arm);
    cob.polh(cob_single_face({{13, 26, 39}, {12, 24, 36}, {12, 25, 36}}), hand);
    cob.grou("", {-1, -2, -4}, 99999); // parent id of no earlier group
    cob.polh(cob_single_face({{0, 0, 0}, {-1, -2, -4}, {-1, -1, -4}}));
    cob.end();
    import(cob);

    ASSERT_EQ(model.num_subobjects, 4u);
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
    ASSERT_EQ(model.num_vertices, 12u);
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

TEST_F(CobConvertTest, GroupNamesAreCutToTwentyNineCharacters) {
    CobBuilder cob;
    cob.grou(std::string(29, 'a') + "bcdef", {0, 0, 0});
    cob.polh(cob_single_face(triangle));
    cob.end();
    std::strcpy(model.sobj_props[0], "$rotate=5");
    import(cob);
    EXPECT_EQ(std::string(model.sobj_name[0]), std::string(29, 'a'));
    EXPECT_STREQ(model.sobj_props[0], "");
}

TEST_F(CobConvertTest, UnusedVerticesAreDroppedAndTheOthersCloseUp) {
    CobBuildPolh polh = cob_single_face({{9, 9, 9}, {0, 0, 0}, {8, 8, 8}, {0, 1, 0}, {0, 1, 1}});
    polh.faces[0].points = {{1, 0}, {3, 0}, {4, 0}};
    polh.faces.push_back({{{4, 0}, {1, 0}, {3, 0}}});
    import(polh);
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(model.vertices[1], (Vec3{-1, 0, 0}));
    EXPECT_EQ(model.vertices[2], (Vec3{-1, 1, 0}));
    EXPECT_EQ(model.polygons[0].points[1], 1u);
    EXPECT_EQ(model.polygons[0].points[2], 2u);
    EXPECT_EQ(model.polygons[1].points[0], 2u);
}

TEST_F(CobConvertTest, FaceNormalsComeFromTheFirstThreeCornersAndVertexNormalsAverageTerms) {
    // Store corners p0 (0,0,0), p1 (1,0,0), p2 (1,1,0), q (1,0,-1), written in trueSpace axes.
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {-1, -1, 0}});
    polh.faces[0].points = {{0, 0}, {1, 0}, {2, 0}};  // normal (0, 0, 1)
    polh.faces.push_back({{{1, 0}, {3, 0}, {2, 0}}}); // normal (1, 0, 0)
    polh.faces.push_back(polh.faces[0]);              // (0, 0, 1) again
    polh.faces.push_back({{{0, 0}, {1, 0}}});         // two points: no plane
    import(polh);
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

TEST_F(CobConvertTest, TextureNamesLoseDirectoryAndExtensionAndAreCutTo36) {
    const std::pair<std::string, std::string> names[] = {
        {"maps\\wall.bmp", "wall"},
        {"c:/art/v2.0/hull", "hull"}, // the dot of a folder is no extension
        {"dir.v2\\plain", "plain"},
        {"two.dots.tga", "two.dots"},
        {".hidden", ""},
        {"d\\" + std::string(40, 'x') + ".bmp", std::string(36, 'x')},
        // Too long for its place in the import table: the end is kept.
        {"c:\\" + std::string(150, 'f') + "\\stone.bmp", "stone"},
    };
    CobBuildPolh polh = cob_single_face(triangle);
    std::vector<CobBuildMaterial> materials;
    for (uint16_t m = 0; m < std::size(names); ++m) {
        polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}, m});
        materials.push_back({m, 1, 1, 1, cob_texture_map(names[m].first)});
    }
    import(polh, materials);
    ASSERT_EQ(model.num_textures, std::size(names));
    for (uint32_t k = 0; k < std::size(names); ++k) {
        EXPECT_EQ(model.textures[k].name, names[k].second) << k;
        EXPECT_EQ(model.textures[k].referenced, 1) << k;
    }
}

TEST_F(CobConvertTest, EarlierTextureListIsReplacedAndOnlyUsedSlotsAreReferenced) {
    model.num_textures = 5;
    for (auto& slot : model.textures)
        slot.referenced = 1;
    import(cob_single_face(triangle, 1), {{0, 1, 1, 1, cob_texture_map("unused.bmp")},
                                          { 1,
                                            1,
                                            1,
                                            1,
                                            cob_texture_map("used.bmp") }});
    ASSERT_EQ(model.num_textures, 2u);
    EXPECT_EQ(model.textures[0].referenced, 0);
    EXPECT_EQ(model.textures[1].referenced, 1);
    EXPECT_EQ(model.polygons[0].texture, 1u);
}

} // namespace
