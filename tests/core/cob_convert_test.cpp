// convert_cob: groups into subobjects (offsets, parents, names, relative vertices), dropped
// vertices, face and vertex normals, and texture names cut from file names.
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
    void import(const std::vector<uint8_t>& bytes) {
        copy_bounded(view.import_path, PATH_LEN, dir.write("scene.scn", bytes));
        stdout_of([] { load_cob(); });
    }
};

Vec3 plus(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// The model-space position of store vertex v: its position plus the origins of its chain.
Vec3 model_space(uint32_t v) {
    Vec3 p = model.vertices[v];
    for (int32_t s = model.vertex_sobj[v]; s >= 0; s = model.sobj_parent[s])
        p = plus(p, model.sobj_offset[s]);
    return p;
}

void expect_near(Vec3 got, Vec3 want) {
    EXPECT_NEAR(got.x, want.x, 1e-5);
    EXPECT_NEAR(got.y, want.y, 1e-5);
    EXPECT_NEAR(got.z, want.z, 1e-5);
}

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
    import(cob.bytes());

    ASSERT_EQ(model.num_subobjects, 4u);
    EXPECT_STREQ(model.sobj_name[0], "Root");
    EXPECT_STREQ(model.sobj_name[1], "Arm");
    EXPECT_STREQ(model.sobj_name[2], "Hand");
    EXPECT_STREQ(model.sobj_name[3], "None");
    EXPECT_EQ(model.sobj_parent[0], -1);
    EXPECT_EQ(model.sobj_parent[1], 0);
    EXPECT_EQ(model.sobj_parent[2], 1);
    EXPECT_EQ(model.sobj_parent[3], -1);
    EXPECT_EQ(model.sobj_offset[0], (Vec3{0, 0, 0})) << "subobject 0 stays at the origin";
    EXPECT_EQ(model.sobj_offset[1], (Vec3{-20, 30, 10}));
    EXPECT_EQ(model.sobj_offset[2], (Vec3{-4, 6, 2})) << "taken from the parent's centre";
    EXPECT_EQ(model.sobj_offset[3], (Vec3{2, -4, -1}));

    ASSERT_EQ(model.num_vertices, 12u);
    EXPECT_EQ(model.vertices[0], (Vec3{-5, 6, 4})) << "subobject 0 keeps absolute positions";
    EXPECT_EQ(model.vertices[3], (Vec3{-2, 3, 1}));
    EXPECT_EQ(model.vertices[6], (Vec3{-2, 3, 1}));
    EXPECT_EQ(model.vertices[9], (Vec3{-2, 4, 1}));
    const Vec3 trueSpace[12] = {{4, 5, 6},    {0, 0, 0},    {0, 1, 0},    {11, 22, 33},
                                {10, 20, 30}, {10, 21, 30}, {13, 26, 39}, {12, 24, 36},
                                {12, 25, 36}, {0, 0, 0},    {-1, -2, -4}, {-1, -1, -4}};
    for (uint32_t v = 0; v < 12; ++v) {
        EXPECT_EQ(model.vertex_sobj[v], v / 3) << v;
        Vec3 p = trueSpace[v];
        expect_near(model_space(v), Vec3{-p.y, p.z, p.x});
    }
    for (uint32_t p = 0; p < 4; ++p)
        EXPECT_EQ(model.polygons[p].sobj, p);
}

TEST_F(CobConvertTest, GroupNamesAreCutToTwentyNineCharacters) {
    CobBuilder cob;
    cob.grou(std::string(29, 'a') + "bcdef", {0, 0, 0});
    cob.polh(cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}));
    cob.end();
    std::strcpy(model.sobj_props[0], "$rotate=5");
    import(cob.bytes());
    EXPECT_EQ(std::string(model.sobj_name[0]), std::string(29, 'a'));
    EXPECT_STREQ(model.sobj_props[0], "");
}

TEST_F(CobConvertTest, UnusedVerticesAreDroppedAndTheOthersCloseUp) {
    CobBuildPolh polh = cob_single_face({{9, 9, 9}, {0, 0, 0}, {8, 8, 8}, {0, 1, 0}, {0, 1, 1}});
    polh.faces[0].points = {{1, 0}, {3, 0}, {4, 0}};
    CobBuildFace second;
    second.points = {{4, 0}, {1, 0}, {3, 0}};
    polh.faces.push_back(second);
    CobBuilder cob;
    cob.polh(polh);
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(model.vertices[0], (Vec3{0, 0, 0}));
    EXPECT_EQ(model.vertices[1], (Vec3{-1, 0, 0}));
    EXPECT_EQ(model.vertices[2], (Vec3{-1, 1, 0}));
    EXPECT_EQ(model.polygons[0].points[0], 0u);
    EXPECT_EQ(model.polygons[0].points[1], 1u);
    EXPECT_EQ(model.polygons[0].points[2], 2u);
    EXPECT_EQ(model.polygons[1].points[0], 2u);
}

// Store corners p0 (0,0,0), p1 (1,0,0), p2 (1,1,0), q (1,0,-1), written in trueSpace axes.
const std::vector<Vec3> normal_corners = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {-1, -1, 0}};

TEST_F(CobConvertTest, FaceNormalsComeFromTheFirstThreeCornersAndVertexNormalsAverageTerms) {
    CobBuildPolh polh = cob_single_face(normal_corners);
    polh.faces[0].points = {{0, 0}, {1, 0}, {2, 0}};  // normal (0, 0, 1)
    polh.faces.push_back({{{1, 0}, {3, 0}, {2, 0}}}); // normal (1, 0, 0)
    polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}}); // (0, 0, 1) again
    polh.faces.push_back({{{0, 0}, {1, 0}}});         // two points: no plane
    CobBuilder cob;
    cob.polh(polh);
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_polygons, 4u);
    EXPECT_EQ(model.polygons[0].normal, (Vec3{0, 0, 1}));
    EXPECT_EQ(model.polygons[1].normal, (Vec3{1, 0, 0}));
    EXPECT_EQ(model.polygons[3].normal, (Vec3{0, 0, 0}));
    // p0: three terms (0,0,1), (0,0,1), (0,0,0); p1: those plus (1,0,0); p2: (0,0,1) twice and
    // (1,0,0); q: (1,0,0).
    expect_near(model.vertex_normals[0], {0, 0, 1});
    float a = 1 / std::sqrt(5.0f);
    expect_near(model.vertex_normals[1], {a, 0, 2 * a});
    expect_near(model.vertex_normals[2], {a, 0, 2 * a});
    expect_near(model.vertex_normals[3], {1, 0, 0});
}

TEST_F(CobConvertTest, TextureNamesLoseDirectoryAndExtensionAndAreCutTo36) {
    std::string long_stem(40, 'x');
    const std::string files[] = {"maps\\wall.bmp", "c:/art/v2.0/hull", "dir.v2\\plain",
                                 "two.dots.tga",   ".hidden",          "d\\" + long_stem + ".bmp"};
    CobBuilder cob;
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}});
    polh.faces.clear();
    for (uint16_t m = 0; m < 6; ++m)
        polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}, m});
    cob.polh(polh);
    for (uint16_t m = 0; m < 6; ++m)
        cob.mat1({m, 1, 1, 1, cob_texture_map(files[m])});
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_textures, 6u);
    EXPECT_STREQ(model.textures[0].name, "wall");
    EXPECT_STREQ(model.textures[1].name, "hull") << "the dot of a folder is no extension";
    EXPECT_STREQ(model.textures[2].name, "plain");
    EXPECT_STREQ(model.textures[3].name, "two.dots");
    EXPECT_STREQ(model.textures[4].name, "");
    EXPECT_EQ(std::string(model.textures[5].name), std::string(36, 'x'));
    for (uint32_t k = 0; k < 6; ++k)
        EXPECT_EQ(model.textures[k].referenced, 1) << k;
}

TEST_F(CobConvertTest, TextureFileNamesTooLongForTheirPlaceKeepTheirEnd) {
    std::string folder = "c:\\" + std::string(150, 'f') + "\\";
    CobBuilder cob;
    cob.polh(cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}, 3));
    cob.mat1({3, 1, 1, 1, cob_texture_map(folder + "stone.bmp")});
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_textures, 1u);
    EXPECT_STREQ(model.textures[0].name, "stone");
}

TEST_F(CobConvertTest, EarlierTextureListIsReplacedAndOnlyUsedSlotsAreReferenced) {
    model.num_textures = 5;
    for (auto& slot : model.textures)
        slot.referenced = 1;
    CobBuilder cob;
    cob.polh(cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}, 1));
    cob.mat1({0, 1, 1, 1, cob_texture_map("unused.bmp")});
    cob.mat1({1, 1, 1, 1, cob_texture_map("used.bmp")});
    cob.end();
    import(cob.bytes());
    ASSERT_EQ(model.num_textures, 2u);
    EXPECT_EQ(model.textures[0].referenced, 0);
    EXPECT_EQ(model.textures[1].referenced, 1);
    EXPECT_EQ(model.polygons[0].texture, 1u);
}

} // namespace
