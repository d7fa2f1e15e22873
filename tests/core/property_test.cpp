// prepare_model: origins and model radius, the reset, the last-'$' rule and each property with
// its angles, axes, numbers and note.
#include <cmath>
#include <cstring>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

class PropertyTest : public CoreTest {
  protected:
    uint32_t add_subobject(const char* props, int32_t parent = -1, Vec3 offset = {}) {
        uint32_t s = model.num_subobjects++;
        std::strcpy(model.sobj_props[s], props);
        model.sobj_parent[s] = parent;
        model.sobj_offset[s] = offset;
        return s;
    }
    void add_vertex(uint32_t s, Vec3 p) {
        model.vertices[model.num_vertices] = p;
        model.vertex_sobj[model.num_vertices++] = uint16_t(s);
    }
    void add_polygon(uint32_t s, Vec3 normal, uint32_t n_txtr = 0) {
        Polygon& poly = model.polygons[model.num_polygons++];
        poly.sobj = s;
        poly.normal = normal;
        poly.n_txtr = n_txtr;
    }
    const FacingRecord& facing(uint32_t s) const { return model.facing[s]; }
};

TEST_F(PropertyTest, RadiusIsTheLargestCoordinateOrTheCutMagnitudeOfTheSmallest) {
    uint32_t s = add_subobject("");
    add_vertex(s, {-12.7f, 3, 4});
    add_vertex(s, {10, -1, 2});
    prepare_model();
    EXPECT_EQ(model.model_radius, 12.0f);

    model.vertices[0].x = -3;
    prepare_model();
    EXPECT_EQ(model.model_radius, 10.0f);

    model.vertices[0] = {-0.5f, -0.1f, -0.2f};
    model.vertices[1] = {-0.3f, -0.4f, -0.25f};
    prepare_model();
    EXPECT_EQ(model.model_radius, 0.0f);

    model.num_vertices = 0;
    model.model_radius = 99;
    prepare_model();
    EXPECT_EQ(model.model_radius, 0.0f);
}

TEST_F(PropertyTest, RadiusUsesOriginsAssembledThroughParents) {
    // Vertex (1, 0, 0) of subobject 2 (offset (0, 5, 0)) under subobject 0 (offset (10, 0, 0))
    // lies at (11, 5, 0).
    add_subobject("", -1, {10, 0, 0});
    add_subobject("", -1, {100, 0, 0});
    uint32_t s = add_subobject("", 0, {0, 5, 0});
    add_vertex(s, {1, 0, 0});
    prepare_model();
    EXPECT_EQ(model.model_radius, 11.0f);

    // A parent that does not come first is taken as none rather than read before it is known.
    model.sobj_parent[0] = 2;
    model.sobj_parent[2] = 2;
    prepare_model();
    EXPECT_EQ(model.model_radius, 5.0f);
}

TEST_F(PropertyTest, FacingAnglesAndAxes) {
    uint32_t up = add_subobject("$facing");
    add_polygon(up, {0, 0, 1});
    uint32_t down = add_subobject("xx $FaCiNg and more");
    add_polygon(down, {0, 0, -1});
    uint32_t side = add_subobject("$facingX");
    add_polygon(side, {1, 0, 0});
    prepare_model();
    EXPECT_EQ(model.sobj_facing[up], 1);
    EXPECT_EQ(facing(up).facing_angle, 0.0f);
    EXPECT_EQ(facing(up).facing_axis, (Vec3{0, 1, 0}));
    EXPECT_EQ(model.sobj_facing[down], 1);
    EXPECT_EQ(facing(down).facing_angle, 180.0f) << "180.00006 rounded down to 0.001";
    EXPECT_EQ(facing(down).facing_axis, (Vec3{0, 1, 0}));
    EXPECT_EQ(facing(side).facing_angle, 90.0f);
    EXPECT_EQ(facing(side).facing_axis, (Vec3{0, -1, 0}));
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(PropertyTest, FacingUsesTheLastPolygonAndNotesMoreThanOne) {
    uint32_t other = add_subobject("");
    uint32_t s = add_subobject("$facing");
    add_polygon(s, {0, 0, 1});
    add_polygon(other, {0, 0, -1});
    add_polygon(s, {0, 1, 0});
    prepare_model();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "INFO");
    EXPECT_EQ(last_text(), "$facing... NumPoly > 1");
    EXPECT_EQ(facing(s).facing_angle, 90.0f);
    EXPECT_EQ(facing(s).facing_axis, (Vec3{1, 0, 0}));
}

TEST_F(PropertyTest, FacingAngleIsRoundedDownToThousandths) {
    uint32_t s = add_subobject("$facing");
    add_polygon(s, {0.6f, 0, 0.8f});
    prepare_model();
    // acos(0.8) is 36.8699 degrees; the normal is rounded first, the angle cut to 0.001.
    EXPECT_FLOAT_EQ(facing(s).facing_angle, 36.869f);
    EXPECT_NEAR(facing(s).facing_axis.y, -1.0f, 1e-6);
}

TEST_F(PropertyTest, FacingWithoutPolygonKeepsItsOldValues) {
    uint32_t s = add_subobject("$facing");
    model.facing[s] = {45, {0, 0, 1}};
    prepare_model();
    EXPECT_EQ(model.sobj_facing[s], 1);
    EXPECT_EQ(facing(s).facing_angle, 45.0f);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(PropertyTest, RotateReadsItsTurnTime) {
    view.spin_angle[0] = 33;
    view.spin_angle[59] = 12;
    uint32_t s = add_subobject("turret $rotate=5  (turn time)");
    uint32_t bad = add_subobject("$ROTATE=fast");
    model.rotate_time[bad] = 7;
    prepare_model();
    EXPECT_EQ(model.sobj_rotate[s], 1);
    EXPECT_EQ(model.rotate_time[s], 5.0f);
    EXPECT_EQ(model.sobj_rotate[bad], 1);
    EXPECT_EQ(model.rotate_time[bad], 7.0f) << "an unreadable number leaves the old one";
    EXPECT_EQ(model.any_rotate, 1);
    EXPECT_EQ(view.spin_angle[0], 0.0f);
    EXPECT_EQ(view.spin_angle[59], 0.0f);
}

TEST_F(PropertyTest, OnlyTheTextFromTheLastDollarCounts) {
    uint32_t glow = add_subobject("$rotate=3 $glow=1,0,0,1");
    uint32_t fov = add_subobject("$rotate=3$fov=360.0,8.0,8.0");
    uint32_t none = add_subobject("rotate=3");
    uint32_t prefix = add_subobject("$rotat=3");
    prepare_model();
    EXPECT_EQ(model.sobj_glow[glow], 1);
    EXPECT_EQ(model.sobj_rotate[glow], 0);
    EXPECT_EQ(model.sobj_fov[fov], 1);
    EXPECT_EQ(model.sobj_rotate[fov], 0);
    EXPECT_EQ(model.sobj_rotate[none], 0);
    EXPECT_EQ(model.sobj_rotate[prefix], 0);
    EXPECT_EQ(model.any_rotate, 0);
}

TEST_F(PropertyTest, GlowReadsColourAndAmountTimesTen) {
    uint32_t s = add_subobject("$glow=.2,.2,1,1");
    add_polygon(s, {0, 0, 1}, 1);
    prepare_model();
    EXPECT_EQ(model.sobj_glow[s], 1);
    EXPECT_EQ(model.glow[s].glow_color[0], 0.2f);
    EXPECT_EQ(model.glow[s].glow_color[1], 0.2f);
    EXPECT_EQ(model.glow[s].glow_color[2], 1.0f);
    EXPECT_EQ(model.glow[s].glow_amount, 10.0f);
    EXPECT_EQ(model.sobj_facing[s], 0) << "a textured glow polygon is not made facing";
}

TEST_F(PropertyTest, GlowNumbersThatCannotBeReadKeepTheirOldValues) {
    uint32_t s = add_subobject("$Glow=0.5, 0.25;9,9");
    model.glow[s] = {{7, 8, 9}, 2};
    prepare_model();
    EXPECT_EQ(model.glow[s].glow_color[0], 0.5f);
    EXPECT_EQ(model.glow[s].glow_color[1], 0.25f);
    EXPECT_EQ(model.glow[s].glow_color[2], 9.0f);
    EXPECT_EQ(model.glow[s].glow_amount, 2.0f) << "an unread amount is not scaled again";
    prepare_model();
    EXPECT_EQ(model.glow[s].glow_amount, 2.0f) << "running again after an edit keeps it";
}

TEST_F(PropertyTest, FlatGlowPolygonTurnsToTheViewerWithItsOwnFallbackAxis) {
    uint32_t up = add_subobject("$glow=1,1,1,1");
    add_polygon(up, {0, 0, 1});
    uint32_t side = add_subobject("$glow=1,1,1,1");
    add_polygon(side, {0, 1, 0}, 1);
    add_polygon(side, {1, 0, 0});
    uint32_t bare = add_subobject("$glow=1,1,1,1");
    prepare_model();
    EXPECT_EQ(model.sobj_facing[up], 1);
    EXPECT_EQ(facing(up).facing_angle, 0.0f);
    EXPECT_EQ(facing(up).facing_axis, (Vec3{1, 0, 0}));
    EXPECT_EQ(model.sobj_facing[side], 1) << "the last polygon is flat";
    EXPECT_EQ(facing(side).facing_axis, (Vec3{0, -1, 0}));
    EXPECT_EQ(model.sobj_facing[bare], 0);
    EXPECT_TRUE(sink.boxes.empty()) << "glow counts no polygons";
}

TEST_F(PropertyTest, EveryRunStartsFromClearedFlags) {
    uint32_t s = add_subobject("$fov=1");
    model.sobj_facing[59] = 1;
    model.sobj_glow[40] = 1;
    model.sobj_rotate[s] = 1;
    model.any_rotate = 1;
    prepare_model();
    EXPECT_EQ(model.sobj_fov[s], 1);
    EXPECT_EQ(model.sobj_rotate[s], 0);
    EXPECT_EQ(model.sobj_facing[59], 0);
    EXPECT_EQ(model.sobj_glow[40], 0);
    EXPECT_EQ(model.any_rotate, 0);
    std::strcpy(model.sobj_props[s], "nothing");
    prepare_model();
    EXPECT_EQ(model.sobj_fov[s], 0);
}

} // namespace
