// Export and read back: the same store, with vertices and polygons grouped by subobject and
// corners renumbered; a second export gives the same bytes.
#include <cstring>

#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"

namespace {

class OofRoundTripTest : public CoreTest {
  protected:
    void load(const std::vector<uint8_t>& bytes) {
        std::strcpy(view.oof_path, dir.write("in.oof", bytes).c_str());
        load_oof(0);
    }
    std::vector<uint8_t> export_and_read_back() {
        std::strcpy(view.export_path, dir.path("out.oof").c_str());
        EXPECT_TRUE(export_oof());
        std::vector<uint8_t> written = read_whole_file(view.export_path);
        std::strcpy(view.oof_path, view.export_path);
        load_oof(0);
        return written;
    }
    // Reading back runs over the same slots with the same values, so even the parts of the
    // tables that no field uses must match byte for byte.
    void expect_same_store_after_round_trip() {
        static Polymodel before;
        before = model;
        std::vector<uint8_t> first = export_and_read_back();
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);
        EXPECT_EQ(export_and_read_back(), first);
    }
};

// The old layouts come back with neutral alpha, as the reader leaves them.
TEST_F(OofRoundTripTest, ModelWithEveryChunkKindComesBackTheSame) {
    for (uint32_t version : {2300u, 1907u}) {
        SCOPED_TRACE(version);
        reset_globals();
        load(build_oof(version, oof_every_chunk_kind(version)));
        expect_same_store_after_round_trip();
        EXPECT_EQ(model.num_subobjects + model.num_batteries + model.rot_num_keys[1], 6u);
        EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
        EXPECT_EQ(model.vertex_alpha[1], version == 2300 ? 0.5f : 1.0f);
    }
}

TEST_F(OofRoundTripTest, MaximalModelComesBackTheSame) {
    load(oof_maximal_model());
    ASSERT_EQ(model.num_vertices + model.num_polygons, 8000u);
    expect_same_store_after_round_trip();
    EXPECT_EQ(model.pos_num_keys[11], 1250u);
    EXPECT_EQ(model.num_used_frames, 15000u);
}

// A store filled the way the importers fill it: vertices of the two subobjects interleaved,
// polygons out of subobject order.
TEST_F(OofRoundTripTest, InterleavedStoreComesBackGroupedAndRenumbered) {
    model.num_subobjects = 2;
    model.sobj_parent[0] = -1;
    model.sobj_parent[1] = 0;
    model.sobj_offset[1] = {0, 0, 2};
    std::strcpy(model.sobj_name[1], "right");
    std::strcpy(model.sobj_props[1], "$glow=1,0.5,0.25,2");
    for (uint32_t v = 0; v < 6; ++v) {
        model.vertices[v] = {float(v), float(v) * 2, 0};
        model.vertex_normals[v] = {0, 0, float(v)};
        model.vertex_alpha[v] = 1;
        model.vertex_sobj[v] = uint16_t(v % 2);
    }
    model.num_vertices = 6;
    auto add = [](uint32_t s, std::initializer_list<uint32_t> corners, uint8_t red) {
        Polygon& poly = model.polygons[model.num_polygons++];
        poly = Polygon{};
        poly.sobj = s;
        poly.color = {red, 0, 0};
        poly.normal = {0, 0, 1};
        for (uint32_t c : corners)
            poly.points[poly.num_points++] = c;
    };
    add(1, {1, 3, 5}, 10);
    add(0, {0, 2, 4}, 20);
    add(1, {5, 3, 1}, 30);

    export_and_read_back();
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    ASSERT_EQ(model.num_vertices, 6u);
    const float xs[6] = {0, 2, 4, 1, 3, 5};
    for (uint32_t v = 0; v < 6; ++v) {
        EXPECT_EQ(model.vertices[v].x, xs[v]);
        EXPECT_EQ(model.vertex_normals[v].z, xs[v]);
        EXPECT_EQ(model.vertex_sobj[v], v < 3 ? 0 : 1);
    }
    EXPECT_EQ(model.sobj_num_verts[0] * 10 + model.sobj_num_polys[1], 32u);
    ASSERT_EQ(model.num_polygons, 3u);
    // Grouped by subobject: 20 first, then 10 and 30 with corners renumbered.
    const Polygon* p = model.polygons;
    EXPECT_EQ((std::vector<uint32_t>{p[0].color.red, p[0].points[2], p[1].color.red, p[1].points[0],
                                     p[1].points[2], p[2].points[0]}),
              (std::vector<uint32_t>{20, 2, 10, 3, 5, 5}));
    EXPECT_STREQ(model.sobj_name[1], "right");
    EXPECT_EQ(model.sobj_offset[1], (Vec3{0, 0, 2}));
    EXPECT_EQ(model.glow[1].glow_amount, 20.0f);
}

} // namespace
