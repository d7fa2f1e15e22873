// How polygons are sorted into batches: pass order, colours, normals, texture coordinates and
// the skipped polygons. Pure table work, no GL context needed.
#include "render/batches.h"
#include "render/draw_tables.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

namespace {

class BatchTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        reset_draw_tables();
    }
    const DrawBatch& batch(int s, uint32_t i) const {
        return draw_tables.batches[draw_tables.sobj_batches[s].first + i];
    }
    uint32_t count(int s) const { return draw_tables.sobj_batches[s].count; }
    // The store polygon a batch was made from, found by its first corner's position.
    uint32_t source(const DrawBatch& b) const {
        for (uint32_t p = 0; p < model.num_polygons; ++p)
            if (model.vertices[model.polygons[p].points[0]] == draw_tables.batch_vertices[b.first])
                return p;
        return 9999;
    }
    uint32_t loaded_slot() {
        uint32_t t = add_texture_slot("t");
        model.textures[t].loaded = 1;
        return t;
    }
};

void expect_colour(const DrawBatch& b, uint8_t r, uint8_t g, uint8_t bl) {
    EXPECT_EQ(b.kind, BATCH_FLAT);
    EXPECT_EQ(b.colour[0], r);
    EXPECT_EQ(b.colour[1], g);
    EXPECT_EQ(b.colour[2], bl);
}

TEST_F(BatchTest, FlatThenFallbacksThenTexturedGroupedBySlot) {
    int s = add_subobject(-1, {0, 0, 0});
    uint32_t unloaded = add_texture_slot("missing");
    uint32_t a = loaded_slot();
    uint32_t b = loaded_slot();
    add_textured_square(s, {1, 0, 0}, 1, b);        // 0
    add_textured_square(s, {2, 0, 0}, 1, unloaded); // 1
    add_flat_square(s, {3, 0, 0}, 1, {10, 20, 30}); // 2
    add_textured_square(s, {4, 0, 0}, 1, a);        // 3
    add_textured_square(s, {5, 0, 0}, 1, b);        // 4
    add_flat_square(s, {6, 0, 0}, 1, {40, 50, 60}); // 5
    build_batches();
    ASSERT_EQ(count(s), 6u);
    const uint32_t order[6] = {2, 5, 1, 3, 0, 4};
    for (uint32_t i = 0; i < 6; ++i)
        EXPECT_EQ(source(batch(s, i)), order[i]) << i;
    expect_colour(batch(s, 0), 10, 20, 30);
    expect_colour(batch(s, 1), 40, 50, 60);
    expect_colour(batch(s, 2), 192, 192, 192);
    EXPECT_EQ(batch(s, 3).kind, BATCH_TEXTURED);
    EXPECT_EQ(batch(s, 3).colour[0], a);
    EXPECT_EQ(batch(s, 5).colour[0], b);
    // Corners follow one another in batch order.
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(batch(s, i).first, 4 * i);
        EXPECT_EQ(batch(s, i).count, 4u);
    }
    EXPECT_EQ(draw_tables.num_corners, 24u);
}

TEST_F(BatchTest, SubobjectsGetConsecutiveRangesInSubobjectOrder) {
    int s0 = add_subobject(-1, {0, 0, 0});
    int s1 = add_subobject(s0, {0, 0, 0});
    add_flat_square(s1, {1, 0, 0}, 1, {1, 1, 1});
    add_flat_square(s0, {2, 0, 0}, 1, {2, 2, 2});
    add_flat_square(s1, {3, 0, 0}, 1, {3, 3, 3});
    model.polygons[model.num_polygons++] = model.polygons[0];
    model.polygons[model.num_polygons - 1].sobj = 7; // beyond the used subobjects: not drawn
    build_batches();
    EXPECT_EQ(draw_tables.sobj_batches[s0].first, 0u);
    EXPECT_EQ(count(s0), 1u);
    EXPECT_EQ(draw_tables.sobj_batches[s1].first, 1u);
    EXPECT_EQ(count(s1), 2u);
    EXPECT_EQ(batch(s1, 0).colour[0], 1);
    EXPECT_EQ(batch(s1, 1).colour[0], 3);
    EXPECT_EQ(draw_tables.num_batches, 3u);
}

TEST_F(BatchTest, HighlightsTurnPolygonsCyanAndDropTheirTexture) {
    int s0 = add_subobject(-1, {0, 0, 0});
    int s1 = add_subobject(-1, {0, 0, 0});
    uint32_t a = loaded_slot();
    uint32_t b = loaded_slot();
    add_flat_square(s0, {1, 0, 0}, 1, {9, 9, 9});
    add_textured_square(s0, {2, 0, 0}, 1, a);
    add_textured_square(s0, {3, 0, 0}, 1, add_texture_slot("missing"));
    add_textured_square(s1, {4, 0, 0}, 1, a);
    add_textured_square(s1, {5, 0, 0}, 1, b);
    add_flat_square(s1, {6, 0, 0}, 1, {9, 9, 9});
    view.sobj_highlight[s0] = 1;
    view.texture_highlight[a] = 1;
    build_batches();
    ASSERT_EQ(count(s0), 3u);
    for (uint32_t i = 0; i < 3; ++i)
        expect_colour(batch(s0, i), 0, 255, 255);
    ASSERT_EQ(count(s1), 3u);
    expect_colour(batch(s1, 0), 9, 9, 9); // flat polygons ignore a texture highlight
    expect_colour(batch(s1, 1), 0, 255, 255);
    EXPECT_EQ(batch(s1, 2).kind, BATCH_TEXTURED);
    EXPECT_EQ(batch(s1, 2).colour[0], b);
}

TEST_F(BatchTest, FlatColorsOffAndSeveralTexturesLeavePolygonsOut) {
    int s = add_subobject(-1, {0, 0, 0});
    add_flat_square(s, {1, 0, 0}, 1, {9, 9, 9});
    uint32_t multi = add_textured_square(s, {2, 0, 0}, 1, loaded_slot());
    model.polygons[multi].n_txtr = 2;
    add_textured_square(s, {3, 0, 0}, 1, add_texture_slot("missing"));
    view.flat_colors = 0;
    build_batches();
    ASSERT_EQ(count(s), 1u);
    EXPECT_EQ(source(batch(s, 0)), 2u);
}

TEST_F(BatchTest, NormalsFollowSmoothAndTexcoordsOnlyTexturedCorners) {
    int s = add_subobject(-1, {0, 0, 0});
    uint32_t flat = add_flat_square(s, {0, 0, 0}, 1, {9, 9, 9}, {0, 1, 0});
    add_textured_square(s, {5, 0, 0}, 1, loaded_slot(), {1, 0, 0});
    model.vertex_normals[model.polygons[flat].points[2]] = {0, 0, -1};
    for (uint32_t k = 0; k < 8; ++k)
        draw_tables.batch_texcoords[k] = {7, 7};
    build_batches();
    EXPECT_TRUE(draw_tables.batch_normals[2] == (Vec3{0, 0, -1}));
    EXPECT_TRUE(draw_tables.batch_normals[1] == (Vec3{0, 1, 0}));
    EXPECT_TRUE(draw_tables.batch_vertices[2] == (Vec3{1, 1, 0}));
    EXPECT_EQ(draw_tables.batch_texcoords[0].u, 7.0f); // flat corners keep what they held
    EXPECT_EQ(draw_tables.batch_texcoords[4].u, 1.0f);
    EXPECT_EQ(draw_tables.batch_texcoords[6].v, 1.0f);
    view.smooth = 0;
    build_batches();
    EXPECT_TRUE(draw_tables.batch_normals[2] == (Vec3{0, 1, 0}));
    EXPECT_TRUE(draw_tables.batch_normals[5] == (Vec3{1, 0, 0}));
}

TEST_F(BatchTest, BadCornerCountsAndVertexIndicesStayInsideTheTables) {
    int s = add_subobject(-1, {0, 0, 0});
    uint32_t p = add_flat_square(s, {0, 0, 0}, 1, {9, 9, 9});
    model.polygons[p].points[1] = 123456;
    model.polygons[p].num_points = 1000;
    model.num_subobjects = 500;
    build_batches();
    EXPECT_EQ(batch(s, 0).count, uint32_t(MAX_POLY_POINTS));
    EXPECT_TRUE(draw_tables.batch_vertices[1] == (Vec3{0, 0, 0}));
}

} // namespace
