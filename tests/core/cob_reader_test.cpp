// load_cob: the conversion into the store (axes, groups, colours, textures, normals), damaged and
// early ends, every limit at its size and one past it, and every refusal with its text and status.
#include <cmath>
#include <cstring>
#include <iomanip>
#include <sstream>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_scenes.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CobReaderTest : public CoreTest {
  protected:
    // Imports bytes as after a fresh start; returns what the importer printed.
    std::string import(const Bytes& bytes) {
        sink.boxes.clear();
        view.model_loaded = 0;
        std::string out = stdout_of([&] { load_cob_bytes(bytes); });
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(view.model_loaded, 1);
        return out;
    }
};

auto faces = cob_triangle_faces;
auto counts = cob_polh_counts_only;

// The store in short: each polygon's texture ("t1") or colour ("ff7f00"), then each texture
// name ('-' after one no face uses), then how many "big oops" lines the import printed.
std::string summary(const std::string& out) {
    std::ostringstream s;
    for (const Polygon& p : std::span(model.polygons, model.num_polygons)) {
        if (p.n_txtr)
            s << (p.n_txtr == 1 ? "t" : "bad") << p.texture << ' ';
        else
            s << std::hex << std::setfill('0') << std::setw(6)
              << (p.color.red << 16 | p.color.green << 8 | p.color.blue) << std::dec << ' ';
    }
    s << '|';
    for (const auto& t : std::span(model.textures, model.num_textures))
        s << ' ' << t.name << (t.referenced ? "" : "-");
    for (size_t at = 0; (at = out.find("oops", at)) != std::string::npos; ++at)
        s << " oops";
    return s.str();
}

TEST_F(CobReaderTest, VerticesAreTransformedIntoStoreAxesAndUnusedOnesDropped) {
    CobBuildPolh moved = cob_single_face({{1, 2, 3}, {0, 0, 0}, {0, 1, 0}}), plain = moved;
    float m[3][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    std::memcpy(moved.matrix, m, sizeof m);
    CobBuildPolh sparse = cob_single_face({{9, 9, 9}, {0, 0, 0}, {8, 8, 8}, {0, 1, 0}, {0, 1, 1}});
    sparse.faces[0].points = {{1, 0}, {3, 0}, {4, 0}};
    import(cob_scene({plain, moved, sparse}));
    // x = -y, y = z, z = x; (1, 2, 3) -> (18, 46, 74); the translation column alone; unused
    // vertices dropped; corners count over the whole file.
    EXPECT_EQ((std::vector<Vec3>{model.vertices[0], model.vertices[3], model.vertices[4],
                                 model.vertices[8]}),
              (std::vector<Vec3>{{-2, 3, 1}, {-46, 74, 18}, {-8, 12, 4}, {-1, 1, 0}}));
    EXPECT_EQ(
        (std::vector{model.num_vertices, model.polygons[1].points[0], model.polygons[2].points[2]}),
        (std::vector{9u, 3u, 8u}));
}

// Materials describe the faces of the most recent PolH by number; names are de-duplicated by
// exact comparison; damaged or cut chunks are not read past their end.
TEST_F(CobReaderTest, MaterialsGiveColoursOrTextureIndicesIntoTheNameList) {
    const Bytes float_tail = {0x99, 0x99, 0x19, 0x3f}; // read as two unknown sub-chunk tags
    Bytes wall = cob_texture_map("maps\\wall.bmp"), Wall = cob_texture_map("maps\\Wall.bmp");
    CobBuildPolh unnumbered = faces({0, 0});
    unnumbered.faces[0].flags = 8; // no material number written
    const std::string x36(36, 'x');
    // The last two are too long for their place in the import table: the end is kept.
    auto named = cob_texture_materials(
        {"maps\\wall.bmp", "c:/art/v2.0/hull", "dir.v2\\plain", "two.dots.tga", ".hidden",
         "unused.bmp", "c:\\" + std::string(150, 'f') + "\\stone.bmp", "d\\" + x36 + "yy.bmp"});
    const std::pair<Bytes, std::string> cases[] = {
        {cob_scene({faces({2, 1, 2})}, {{2, 1, 0.5f, 0, {}}}), "ff7f00 c0c0c0 ff7f00 |"},
        {cob_scene({faces({1, 40})},
                   {{1, .6f, .4f, .2f, float_tail}, {40, .2f, .4f, .6f, float_tail}}),
         "996633 336699 | oops oops oops oops"},
        {cob_scene({faces({0})}, {{0, -3, 7.5f, 1e30f, {}}}), "00ffff |"},
        {cob_scene({faces({0, 1, 2, 3, 200})}, {{3, 1, 1, 1, Wall},
                                                {0, 1, 1, 1, wall},
                                                {1, 1, 1, 1, wall},
                                                {200, 1, 1, 1, Wall},
                                                {2, 0, 0, 1, {}}}),
         "t1 t1 0000ff t0 t0 | Wall wall"},
        {cob_scene({faces({4})}, {{4, 1, 1, 1, cob_map_list()}}), "t0 | hull oops"},
        {cob_materials_after_their_polhs(), "ff0000 c0c0c0 0000ff |"},
        {cob_scene({unnumbered}, {{0, 0, 1, 0, {}}}), "c0c0c0 00ff00 |"},
        {cob_unknown_chunks_skipped(), "0000ff |"},
        {cob_material_cut_short(), "c0c0c0 |"},
        {cob_polh_stated_too_long(), "c0c0c0 |"},
        {cob_short_material_record(), "ff0000 |"},
        // Names lose folders and extension (not the dot of a folder) and are cut to 36.
        {cob_scene({faces({0, 1, 2, 3, 4, 6, 7})}, named),
         "t0 t1 t2 t3 t4 t6 t7 | wall hull plain two.dots  unused- stone " + x36},
    };
    // An earlier list is replaced.
    model.num_textures = 20;
    for (auto& slot : model.textures)
        slot.referenced = 1;
    for (const auto& [bytes, want] : cases)
        EXPECT_EQ(summary(import(bytes)), want);
    // Without Grou: one subobject "None" at the origin holds everything.
    EXPECT_EQ(model.num_subobjects, 1u);
    EXPECT_STREQ(model.sobj_name[0], "None");
    EXPECT_EQ(model.sobj_parent[0], -1);
    EXPECT_EQ(model.vertex_sobj[2] * 10 + model.vertex_alpha[2], 1.0f);
}

// Every corner has (0.5, 0.25).
TEST_F(CobReaderTest, TextureParametersRepeatThenOffsetPerMaterial) {
    Bytes a = cob_texture_map("a.bmp", 0.1f, 0, 2, 0), b = cob_texture_map("b.bmp", 0, 0.25f, 0, 3);
    import(cob_scene({faces({1, 0, 2})}, {{0, 1, 1, 1, {}}, {1, 1, 1, 1, a}, { 2, 1, 1, 1, b }}));
    const Polygon* p = model.polygons;
    EXPECT_EQ((std::vector<float>{p[0].u[2], p[0].v[0], p[2].u[1], p[2].v[1]}),
              (std::vector<float>{0.9f, 0.25f, 0.5f, 0.5f}));
}

// Offsets from the parent's centre; a parent id of no earlier group is none. Names of 65535
// bytes stated inside short chunks are read within them.
TEST_F(CobReaderTest, GroupsBecomeSubobjectsWithOffsetsFromTheirParentsAndRelativeVertices) {
    const std::vector<Vec3> written = {{4, 5, 6},    {0, 0, 0},    {0, 1, 0},    {11, 22, 33},
                                       {10, 20, 30}, {10, 21, 30}, {13, 26, 39}, {12, 24, 36},
                                       {12, 25, 36}, {0, 0, 0},    {-1, -2, -4}, {-1, -1, -4}};
    std::strcpy(model.sobj_props[4], "$rotate=5");
    EXPECT_EQ(import(cob_group_tree(written)), " V=3, P=1, UV=1, S=0\n V=6, P=2, UV=2, S=1\n"
                                               " V=9, P=3, UV=3, S=2\n V=12, P=4, UV=4, S=3\n"
                                               " V=15, P=5, UV=5, S=4\n V=18, P=6, UV=6, S=5\n");
    std::ostringstream subobjects;
    for (uint32_t k = 0; k < model.num_subobjects; ++k) {
        const Vec3& o = model.sobj_offset[k];
        subobjects << model.sobj_name[k] << ' ' << model.sobj_parent[k] << ' ' << o.x + 0 << ' '
                   << o.y + 0 << ' ' << o.z + 0 << ' ' << model.polygons[k].sobj << ", ";
    }
    EXPECT_EQ(subobjects.str(),
              "Root -1 0 0 0 0, Arm 0 -20 30 10 1, Hand 1 -4 6 2 2, None -1 2 -4 -1 3, "
              "aaaaaaaaaaaaaaaaaaaaaaaaaaaaa -1 0 0 0 4, ab -1 0 0 0 5, ");
    EXPECT_STREQ(model.sobj_props[4], "");
    EXPECT_STREQ(model.textures[0].name, "long");
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    for (uint32_t v = 0; v < 12; ++v) {
        EXPECT_EQ(model.vertex_sobj[v], v / 3) << v;
        expect_near(model_space_position(origins, v), {-written[v].y, written[v].z, written[v].x});
    }
}

TEST_F(CobReaderTest, FaceNormalsComeFromTheFirstThreeCornersAndVertexNormalsAverageTerms) {
    // Store corners p0 (0,0,0), p1 (1,0,0), p2 (1,1,0), q (1,0,-1), written in trueSpace axes.
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {-1, -1, 0}});
    polh.faces[0].points = {{0, 0}, {1, 0}, {2, 0}};  // normal (0, 0, 1)
    polh.faces.push_back({{{1, 0}, {3, 0}, {2, 0}}}); // normal (1, 0, 0)
    polh.faces.push_back(polh.faces[0]);              // (0, 0, 1) again
    polh.faces.push_back({{{0, 0}, {1, 0}}});         // two points: no plane
    import(cob_scene({polh}));
    EXPECT_EQ(model.polygons[1].normal, (Vec3{1, 0, 0}));
    EXPECT_EQ(model.polygons[3].normal, (Vec3{0, 0, 0}));
    // p1: (0,0,1) twice, (0,0,0) and (1,0,0).
    float a = 1 / std::sqrt(5.0f);
    expect_near(model.vertex_normals[1], {a, 0, 2 * a});
    expect_near(model.vertex_normals[3], {1, 0, 0});
}

// Each row: a file at a limit (or none) whose count must read back, and a file it refuses.
TEST_F(CobReaderTest, EveryLimitImportsAtItsSizeAndIsRefusedOnePastItAsAreBadIndices) {
    CobBuildPolh used = cob_separate_faces(200, 20), next_polh = faces({0}), far = faces({0});
    used.vertices.push_back({5, 5, 5}); // unused: dropped, so no limit is passed
    CobBuildPolh used_past = used, bad_uv = faces({0});
    used_past.faces.push_back({{{4000, 0}}});
    next_polh.faces[0].points[2].vertex = 3; // the next PolH's vertex 0 is none of this one's
    far.faces[0].points[0].vertex = 0xFFFFFFFFu;
    bad_uv.faces[0].points[1].uv = 1;
    const Bytes header = CobBuilder().bytes(); // a file that ends without "END "
    const uint32_t& polygons = model.num_polygons;
    const char *not_binary = "Not a binary trueSpace file",
               *vertex = "cob: vertex index > vertex count... ouch",
               *vertices = "cob: vertices > 10000... ouch";
    const std::tuple<Bytes, const uint32_t*, uint32_t, Bytes, const char*> cases[] = {
        {cob_scene({cob_separate_faces(1, 20)}), &model.polygons[0].num_points, 20,
         cob_scene({cob_separate_faces(1, 21)}), "cob: face points > 20... ouch"},
        {cob_scene({used}), &model.num_vertices, 4000, cob_scene({used_past}),
         "cob: vertices > MAX_VECT... ouch"},
        {cob_scene({cob_same_faces(4000)}), &polygons, 4000, cob_scene({cob_same_faces(4001)}),
         "cob: faces > MAX_POLY... ouch"},
        {cob_empty_polhs(100), &polygons, 0, cob_empty_polhs(101), "cob: PolH > 100... ouch"},
        {cob_materials(250), &polygons, 1, cob_materials(251), "cob: Mat1 > 250... ouch"},
        {cob_texture_files(35), &model.num_textures, 35, cob_texture_files(36),
         "cob: textures > MAX_TEXTURE... ouch"},
        {cob_group_chain(60), &model.num_subobjects, 60, cob_group_chain(61),
         "cob: groups > MAX_SOBJ... ouch"},
        {cob_group_after_polh(true), &model.num_subobjects, 2, cob_group_after_polh(false),
         "cob: Grou after PolH... ouch"},
        {header, &polygons, 0, cob_scene({faces({0})}, {}, 'A'), not_binary},
        {{}, {}, 0, Bytes(header.begin(), header.begin() + 31), not_binary},
        {{}, {}, 0, {}, not_binary},
        // Import-table counts are checked before their records are read.
        {{}, {}, 0, cob_polhs_of({counts(0, 0, 10000)}), "cob: faces > 10000... ouch"},
        {{}, {}, 0, cob_polhs_of({counts(6000, 0, 0), counts(4001, 0, 0)}), vertices},
        {{}, {}, 0, cob_polhs_of({counts(0, 20001, 0)}), "cob: uvs > 20000... ouch"},
        {{}, {}, 0, cob_polhs_of({counts(0xFFFFFFFFu, 0, 0)}), vertices},
        {{}, {}, 0, cob_texture_files(101), "cob: textures > 100... ouch"},
        {{}, {}, 0, cob_scene({faces({0}), next_polh}), vertex},
        {{}, {}, 0, cob_scene({far}), vertex},
        {{}, {}, 0, cob_scene({bad_uv}), "cob: uv index > uv count... ouch"},
    };
    for (const auto& [at, count, want, past, text] : cases) {
        SCOPED_TRACE(text);
        if (count) {
            import(at);
            EXPECT_EQ(*count, want);
        }
        view.model_loaded = 0;
        expect_stop([&] { stdout_of([&] { load_cob_bytes(past); }); }, text,
                    text == not_binary ? -2 : 7);
        EXPECT_EQ(view.model_loaded, 0);
    }
}

// 256 bytes without a terminator, followed in memory by another path buffer.
TEST_F(CobReaderTest, PathFillingTheWholeBufferIsReadWithinIt) {
    std::string path = dir.root().string() + "/";
    std::string name = (PATH_LEN - path.size()) % 2 ? "f.cob" : "ff.cob";
    while (path.size() + name.size() < size_t(PATH_LEN))
        path += "./";
    dir.write(name, cob_scene({faces({0})}));
    std::memcpy(view.import_path, (path + name).data(), PATH_LEN);
    std::strcpy(view.export_path, "junk");
    stdout_of([] { load_cob(); });
    EXPECT_EQ(model.num_polygons, 1u);
}

} // namespace
