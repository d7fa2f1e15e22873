// prepare_model: origins and model radius, the reset, the last-'$' rule and each property with
// its angles, axes, numbers and note.
#include <cstring>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

class PropertyTest : public CoreTest {
  protected:
    // A subobject with these properties and one polygon per normal (textured when n_txtr).
    uint32_t add_subobject(const char* props, std::vector<Vec3> normals = {}, uint32_t n_txtr = 0,
                           int32_t parent = -1, Vec3 offset = {}) {
        uint32_t s = model.num_subobjects++;
        std::strcpy(model.sobj_props[s], props);
        model.sobj_parent[s] = parent;
        model.sobj_offset[s] = offset;
        for (Vec3 normal : normals)
            add_polygon(s, normal, n_txtr);
        return s;
    }
    void add_polygon(uint32_t s, Vec3 normal, uint32_t n_txtr = 0) {
        Polygon& poly = model.polygons[model.num_polygons++];
        poly.sobj = s;
        poly.normal = normal;
        poly.n_txtr = n_txtr;
    }
    void set_vertices(uint32_t s, std::vector<Vec3> points) {
        model.num_vertices = 0;
        for (Vec3 p : points) {
            model.vertices[model.num_vertices] = p;
            model.vertex_sobj[model.num_vertices++] = uint16_t(s);
        }
    }
    const FacingRecord& facing(uint32_t s) const { return model.facing[s]; }
};

// The largest coordinate, or the magnitude of the smallest cut to a whole number.
TEST_F(PropertyTest, RadiusIsTheLargestCoordinateOrTheCutMagnitudeOfTheSmallest) {
    uint32_t s = add_subobject("");
    struct Case {
        std::vector<Vec3> vertices;
        float radius;
    };
    for (const Case& c : std::vector<Case>{{{{-12.7f, 3, 4}, {10, -1, 2}}, 12},
                                           {{{-3, 3, 4}, {10, -1, 2}}, 10},
                                           {{{-0.5f, -0.1f, -0.2f}, {-0.3f, -0.4f, -0.25f}}, 0},
                                           {{}, 0}}) {
        SCOPED_TRACE(c.radius);
        set_vertices(s, c.vertices);
        model.model_radius = 99;
        prepare_model();
        EXPECT_EQ(model.model_radius, c.radius);
    }
}

TEST_F(PropertyTest, RadiusUsesOriginsAssembledThroughParents) {
    // Vertex (1, 0, 0) of subobject 2 (offset (0, 5, 0)) under subobject 0 (offset (10, 0, 0))
    // lies at (11, 5, 0).
    add_subobject("", {}, 0, -1, {10, 0, 0});
    add_subobject("", {}, 0, -1, {100, 0, 0});
    set_vertices(add_subobject("", {}, 0, 0, {0, 5, 0}), {{1, 0, 0}});
    prepare_model();
    EXPECT_EQ(model.model_radius, 11.0f);

    // A parent that does not come first is taken as none rather than read before it is known.
    model.sobj_parent[0] = 2;
    model.sobj_parent[2] = 2;
    prepare_model();
    EXPECT_EQ(model.model_radius, 5.0f);
}

TEST_F(PropertyTest, FacingAnglesAndAxes) {
    struct Case {
        const char* props;
        Vec3 normal;
        float angle;
        Vec3 axis;
    };
    // acos(0.8) is 36.8699 degrees: the normal is rounded first, the angle cut to 0.001;
    // straight down gives 180.00006, cut to 180.
    std::vector<Case> cases = {{"$facing", {0, 0, 1}, 0, {0, 1, 0}},
                               {"xx $FaCiNg and more", {0, 0, -1}, 180, {0, 1, 0}},
                               {"$facingX", {1, 0, 0}, 90, {0, -1, 0}},
                               {"$facing", {0.6f, 0, 0.8f}, 36.869f, {0, -1, 0}}};
    for (const Case& c : cases)
        add_subobject(c.props, {c.normal});
    // Without a polygon the old values stay.
    uint32_t bare = add_subobject("$facing");
    model.facing[bare] = {45, {0, 0, 1}};
    prepare_model();
    for (uint32_t s = 0; s < cases.size(); ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(model.sobj_facing[s], 1);
        EXPECT_NEAR(facing(s).facing_angle, cases[s].angle, 1e-5);
        EXPECT_NEAR(facing(s).facing_axis.x, cases[s].axis.x, 1e-6);
        EXPECT_NEAR(facing(s).facing_axis.y, cases[s].axis.y, 1e-6);
        EXPECT_NEAR(facing(s).facing_axis.z, cases[s].axis.z, 1e-6);
    }
    EXPECT_EQ(model.sobj_facing[bare], 1);
    EXPECT_EQ(facing(bare).facing_angle, 45.0f);
    EXPECT_EQ(facing(bare).facing_axis, (Vec3{0, 0, 1}));
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(PropertyTest, FacingUsesTheLastPolygonAndNotesMoreThanOne) {
    uint32_t other = add_subobject("");
    uint32_t s = add_subobject("$facing", {{0, 0, 1}});
    add_polygon(other, {0, 0, -1});
    add_polygon(s, {0, 1, 0});
    prepare_model();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "INFO");
    EXPECT_EQ(last_text(), "$facing... NumPoly > 1");
    EXPECT_EQ(facing(s).facing_angle, 90.0f);
    EXPECT_EQ(facing(s).facing_axis, (Vec3{1, 0, 0}));
}

TEST_F(PropertyTest, RotateReadsItsTurnTimeAndOnlyTheTextFromTheLastDollarCounts) {
    view.spin_angle[0] = 33;
    view.spin_angle[59] = 12;
    uint32_t s = add_subobject("turret $rotate=5  (turn time)");
    uint32_t bad = add_subobject("$ROTATE=fast");
    model.rotate_time[bad] = 7;
    prepare_model();
    EXPECT_EQ(model.sobj_rotate[s] + model.sobj_rotate[bad] + model.any_rotate, 3);
    EXPECT_EQ(model.rotate_time[s], 5.0f);
    EXPECT_EQ(model.rotate_time[bad], 7.0f) << "an unreadable number leaves the old one";
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[59], 0.0f);

    reset_globals();
    uint32_t glow = add_subobject("$rotate=3 $glow=1,0,0,1");
    uint32_t fov = add_subobject("$rotate=3$fov=360.0,8.0,8.0");
    add_subobject("rotate=3");
    add_subobject("$rotat=3");
    prepare_model();
    EXPECT_EQ(model.sobj_glow[glow] + model.sobj_fov[fov], 2);
    for (uint32_t r = 0; r < 4; ++r)
        EXPECT_EQ(model.sobj_rotate[r], 0) << r;
    EXPECT_EQ(model.any_rotate, 0);
}

TEST_F(PropertyTest, GlowReadsColourAndAmountTimesTenAndTurnsFlatPolygonsToTheViewer) {
    uint32_t s = add_subobject("$glow=.2,.2,1,1", {{0, 0, 1}}, 1);
    // Numbers that cannot be read keep their old values; an unread amount is not scaled again,
    // not even when the pass runs again after an edit.
    uint32_t bad = add_subobject("$Glow=0.5, 0.25;9,9");
    model.glow[bad] = {{7, 8, 9}, 2};
    // A flat last polygon is made facing, with (1, 0, 0) as the axis when it already faces.
    uint32_t up = add_subobject("$glow=1,1,1,1", {{0, 0, 1}});
    uint32_t side = add_subobject("$glow=1,1,1,1", {{0, 1, 0}}, 1);
    add_polygon(side, {1, 0, 0});
    for (int run = 0; run < 2; ++run) {
        prepare_model();
        EXPECT_EQ(model.sobj_glow[s], 1);
        EXPECT_EQ(std::vector(model.glow[s].glow_color, model.glow[s].glow_color + 3),
                  (std::vector<float>{0.2f, 0.2f, 1}));
        EXPECT_EQ(model.glow[s].glow_amount, 10.0f);
        EXPECT_EQ(std::vector(model.glow[bad].glow_color, model.glow[bad].glow_color + 3),
                  (std::vector<float>{0.5f, 0.25f, 9}));
        EXPECT_EQ(model.glow[bad].glow_amount, 2.0f);
        EXPECT_EQ(model.sobj_facing[s] + model.sobj_facing[bad], 0)
            << "a textured polygon or none is not made facing";
        EXPECT_EQ(model.sobj_facing[up] + model.sobj_facing[side], 2);
        EXPECT_EQ(facing(up).facing_angle, 0.0f);
        EXPECT_EQ(facing(up).facing_axis, (Vec3{1, 0, 0}));
        EXPECT_EQ(facing(side).facing_axis, (Vec3{0, -1, 0}));
        EXPECT_TRUE(sink.boxes.empty()) << "glow counts no polygons";
    }
}

TEST_F(PropertyTest, EveryRunStartsFromClearedFlags) {
    uint32_t s = add_subobject("$fov=1");
    model.sobj_facing[59] = 1;
    model.sobj_glow[40] = 1;
    model.sobj_rotate[s] = 1;
    model.any_rotate = 1;
    prepare_model();
    EXPECT_EQ(model.sobj_fov[s], 1);
    EXPECT_EQ(model.sobj_rotate[s] + model.sobj_facing[59] + model.sobj_glow[40], 0);
    EXPECT_EQ(model.any_rotate, 0);
    std::strcpy(model.sobj_props[s], "nothing");
    prepare_model();
    EXPECT_EQ(model.sobj_fov[s], 0);
}

} // namespace
