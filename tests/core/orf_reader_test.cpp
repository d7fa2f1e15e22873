// load_orf: chunk fields in any order, the finishing steps, texture names, the limits and every
// refusal with its text and exit status.
#include <cmath>

#include "formats/orf_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/orf_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class OrfReaderTest : public CoreTest {
  protected:
    void load(const Bytes& bytes) {
        sink.boxes.clear();
        view.model_loaded = 0;
        load_orf_bytes(bytes);
        EXPECT_EQ(view.model_loaded, 1);
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
    }
};

const std::vector<Vec3> three = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

// Stated chunk lengths and bytes after the end chunk are ignored; without the end chunk the file
// is read to its end.
TEST_F(OrfReaderTest, EveryChunkFieldIsStoredWhateverTheChunkOrderLengthsAndEnd) {
    // Centred on every axis (spans differ per axis), so positions read back as stored.
    const std::vector<Vec3> vertices = {{-1, -2, -3}, {1, 2, 3}, {-1, 2, 0}, {0.5f, 0, 3}};
    const std::vector<OrfPolygon> polygons = {
        {{0, 0, 1}, 1, {{0, 0.1f, 0.2f}, {1, 0.3f, 0.4f}, {2, 0.5f, 0.6f}}},
        {{0.6f, 0.8f, 0}, 0, {{3, 1.1f, 1.2f}, {2, 1.3f, 1.4f}, {1, 1.5f, 1.6f}, {0, 1.7f, 1.8f}}},
    };
    const std::vector<std::string> names = {"stone", "grass"};
    OrfBuilder any_order;
    any_order.header(4, 2).polygons(polygons).with_length(0).textures(names).with_length(9999);
    any_order.vertices(vertices).with_length(3).end().header(3, 0).raw({99, 0, 0, 0, 1, 2, 3});
    OrfBuilder unended;
    unended.header(4, 2).vertices(vertices).polygons(polygons).textures(names);
    for (const Bytes& bytes :
         {build_orf(vertices, names, polygons), any_order.bytes(), unended.bytes()}) {
        reset_globals();
        model.vertex_alpha[2] = 0.5f;
        model.vertex_sobj[3] = 7;
        load(bytes);
        EXPECT_EQ(orf_of_store(), build_orf(vertices, names, polygons));
        for (uint32_t v = 0; v < 4; ++v)
            EXPECT_EQ(model.vertex_sobj[v] + model.vertex_alpha[v], 1.0f) << v;
        for (uint32_t p = 0; p < 2; ++p)
            EXPECT_EQ(model.polygons[p].n_txtr * 10 + model.polygons[p].sobj, 10u);
    }
}

// What a previous model leaves behind clear_model does not count: an empty room is one empty
// subobject at the origin, and a header without vertex or polygon chunks gives zeros.
TEST_F(OrfReaderTest, EmptyRoomsAndMissingChunksLeaveNothingOfThePreviousModel) {
    model.num_textures = 3;
    model.textures[1].referenced = 1;
    model.sobj_parent[0] = 4;
    model.sobj_offset[0] = {1, 2, 3};
    model.vertices[1] = {5, 6, 7};
    model.polygons[0].num_points = 3;
    load({});
    EXPECT_EQ((std::vector<int64_t>{model.num_subobjects, model.sobj_parent[0], model.num_vertices,
                                    model.num_polygons, model.num_textures,
                                    model.textures[1].referenced}),
              (std::vector<int64_t>{1, -1, 0, 0, 0, 0}));
    EXPECT_EQ(model.sobj_offset[0], (Vec3{0, 0, 0}));
    load(OrfBuilder().header(2, 1).textures({"t"}).bytes());
    EXPECT_EQ(model.vertices[1], (Vec3{0, 0, 0}));
    EXPECT_EQ(model.polygons[0].num_points, 0u);
}

TEST_F(OrfReaderTest, VerticesAreCentredOnEachAxisAndGetTheMeanOfTheirCornersNormals) {
    load(build_orf({{10, -4, 100}, {30, 2, 101}, {20, 0, 100.5f}}, {}, {}));
    EXPECT_EQ(model.vertices[1], (Vec3{10, 3, 0.5f}));
    EXPECT_EQ(model.vertices[2], (Vec3{0, 1, 0}));
    // Vertex 0 is a corner of three polygons with normals of different lengths; vertex 4 is a
    // corner twice in one polygon and once in another; vertex 5 is used by no polygon.
    std::vector<Vec3> vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}, {2, 2, 2}};
    load(build_orf(vertices, {"t"},
                   {orf_triangle(0, 0, 1, 2, {2, 0, 0}), orf_triangle(0, 0, 2, 3, {0, 1, 0}),
                    orf_triangle(0, 3, 1, 0, {0, 0, 1}), orf_triangle(0, 4, 4, 1, {0, 0, 3}),
                    orf_triangle(0, 4, 2, 3, {0, 4, 0})}));
    float s6 = std::sqrt(6.0f), s52 = std::sqrt(52.0f);
    expect_near(model.vertex_normals[0], {2 / s6, 1 / s6, 1 / s6}, 1e-6f);
    // Corners count, not polygons: (0,0,3) twice and (0,4,0) once gives (0, 4, 6).
    expect_near(model.vertex_normals[4], {0, 4 / s52, 6 / s52}, 1e-6f);
    EXPECT_EQ(model.vertex_normals[5], (Vec3{0, 0, 0}));
}

// The table first (whole names, ignoring case), then the folders ('\' and '/') and the last
// extension come off.
TEST_F(OrfReaderTest, TextureNamesAreTranslatedAndOnlyUsedOnesReferenced) {
    model.textures[20].referenced = 1;
    load(build_orf(three,
                   {"ROCK0030.OGF1", "maps\\brick.bmp", "JUPITER1",
                    "c:\\art.v2/walls\\old.stone.tga", "maps\\jupiter1", "art.v2\\plain",
                    "folder\\", "h-SKY0", "CITYNEON1", "Ref", "H-SKY", "jupiter10"},
                   {orf_triangle(1, 0, 1, 2), orf_triangle(3, 0, 1, 2)}));
    std::string names; // '*' after a referenced one
    for (const auto& t : std::span(model.textures, model.num_textures))
        names += std::string(t.name) + (t.referenced ? "* " : " ");
    EXPECT_EQ(names, "rock0030 brick* JupiterEuropa old.stone* jupiter1 plain  H-sky1 Neon1 Ref "
                     "H-SKY jupiter10 ");
    EXPECT_EQ(model.textures[20].referenced, 0);
}

TEST_F(OrfReaderTest, CountsAndNamesAtTheLimitsLoadAndOnePastAreRefused) {
    std::vector<Vec3> vertices(MAX_VECT, Vec3{0, 0, 0});
    std::vector<OrfPolygon> polygons(MAX_POLY, orf_triangle(34, 0, 3998, 3999));
    polygons.back() = {{0, 1, 0}, 0, std::vector<OrfPoint>(25, OrfPoint{3999, 1, 2})};
    std::vector<std::string> names(MAX_TEXTURE, "t");
    names[1] = std::string(35, 'w');
    load(build_orf(vertices, names, polygons));
    EXPECT_EQ(orf_of_store(), build_orf(vertices, names, polygons));

    const char *past_table = "orf: texture index > MAX_TEXTURE... ouch",
               *past_list = "orf: texture index > numtextures... ouch",
               *past_vertices = "orf: vertex index > Vcount... ouch";
    OrfPolygon too_wide{{0, 0, 1}, 0, std::vector<OrfPoint>(26, OrfPoint{0, 0, 0})};
    const std::tuple<Bytes, const char*, int> cases[] = {
        {OrfBuilder().header(0, 0).chunk(0, {}).bytes(), "Bad Orf file...", -2},
        {OrfBuilder().chunk(6, {}).end().bytes(), "Bad Orf file...", -2},
        {OrfBuilder().header(4001, 0).bytes(), "orf: Vcount > MAX_VECT... ouch", 7},
        {OrfBuilder().header(0, 4001).bytes(), "orf: Polycount > MAX_POLY... ouch", 3},
        {build_orf({}, std::vector<std::string>(36, "t"), {}), "orf: numtextures > MAX_TEXTURE", 0},
        {build_orf({}, {"a", std::string(36, 'w')}, {}), "orf: charcount > 36", 0},
        {build_orf({{0, 0, 0}}, {"t"}, {too_wide}), "orf: polygon points > 25... ouch", 2},
        {build_orf(three, {"t"}, {orf_triangle(35, 0, 1, 2)}), past_table, 7},
        {build_orf(three, {"t"}, {orf_triangle(-1, 0, 1, 2)}), past_table, 7},
        {build_orf(three, {"t", "u"}, {orf_triangle(2, 0, 1, 2)}), past_list, 7},
        {build_orf(three, {}, {orf_triangle(0, 0, 1, 2)}), past_list, 7},
        {build_orf(three, {"t"}, {orf_triangle(0, 0, 3, 2)}), past_vertices, 7},
        {build_orf(three, {"t"}, {orf_triangle(0, 0, 1, -1)}), past_vertices, 7},
    };
    for (const auto& [bytes, text, status] : cases) {
        view.model_loaded = 0;
        expect_stop([&] { load_orf_bytes(bytes); }, text, status);
        EXPECT_EQ(view.model_loaded, 0);
    }
    // The texture list may follow the polygons; its count is what the index is held against.
    OrfBuilder late;
    late.header(3, 1).vertices(three).polygons({orf_triangle(1, 0, 1, 2)}).textures({"t", "u"});
    load(late.bytes());
    EXPECT_EQ(model.textures[1].referenced, 1);
}

TEST_F(OrfReaderTest, RoomFileIsReadByNameIgnoringCase) {
    dir.write("Room.ORF", build_orf(three, {"t"}, {orf_triangle(0, 0, 1, 2)}));
    copy_bounded(view.import_path, PATH_LEN, dir.path("room.orf"));
    load_orf();
    EXPECT_EQ(model.num_polygons * 10 + view.model_loaded, 11u);
}

} // namespace
