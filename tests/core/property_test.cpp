// prepare_model: the model radius through the subobject chain, the reset, the last-'$' rule and
// each property with its angles, axes, numbers and note.
#include <cstring>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

namespace {

// A subobject with these properties and one polygon per normal (textured when n_txtr).
int with_props(const char* props, std::vector<Vec3> normals = {}, uint32_t n_txtr = 0) {
    int s = add_subobject(-1, {});
    std::strcpy(model.sobj_props[s], props);
    for (Vec3 normal : normals)
        add_polygon(s, {}, normal).n_txtr = n_txtr;
    return s;
}

void expect_facing(int s, float angle, Vec3 axis) {
    SCOPED_TRACE(s);
    EXPECT_EQ(model.sobj_facing[s], 1);
    EXPECT_NEAR(model.facing[s].facing_angle, angle, 1e-5);
    expect_near(model.facing[s].facing_axis, axis, 1e-6f);
}

class PropertyTest : public CoreTest {};

// The largest coordinate, or the magnitude of the smallest cut to a whole number. Vertex
// (1, 0, 0) of subobject 2 (offset (0, 5, 0)) under subobject 0 (offset (10, 0, 0)) lies at
// (11, 5, 0); a parent stored after its child is followed; a chain that loops or leaves the used
// subobjects ends there.
TEST_F(PropertyTest, RadiusIsTheLargestCoordinateOfTheAssembledModel) {
    int s = add_subobject(-1, {});
    for (auto [vertices, radius] : std::vector<std::pair<std::vector<Vec3>, float>>{
             {{{-12.7f, 3, 4}, {10, -1, 2}}, 12},
             {{{-3, 3, 4}, {10, -1, 2}}, 10},
             {{{-0.5f, -0.1f, -0.2f}, {-0.3f, -0.4f, -0.25f}}, 0},
             {{}, 0}}) {
        model.num_vertices = 0;
        for (Vec3 p : vertices)
            add_vertex(s, p);
        model.model_radius = 99;
        prepare_model();
        EXPECT_EQ(model.model_radius, radius);
    }
    reset_globals();
    add_subobject(-1, {10, 0, 0});
    add_subobject(-1, {100, 0, 0});
    add_vertex(add_subobject(0, {0, 5, 0}), {1, 0, 0});
    for (auto [parent_of_0, parent_of_2, radius] : {std::tuple{-1, 0, 11.0f},
                                                    {-1, 1, 101.0f},
                                                    {1, 0, 111.0f},
                                                    {3, 0, 11.0f},
                                                    {2, 0, 11.0f},
                                                    {-1, 2, 5.0f}}) {
        model.sobj_parent[0] = parent_of_0;
        model.sobj_parent[2] = parent_of_2;
        prepare_model();
        EXPECT_EQ(model.model_radius, radius) << parent_of_0 << " " << parent_of_2;
    }
}

TEST_F(PropertyTest, FacingAnglesAndAxesFromTheLastPolygon) {
    // acos(0.8) is 36.8699 degrees: the normal is rounded first, the angle cut to 0.001;
    // straight down gives 180.00006, cut to 180.
    int up = with_props("$facing", {{0, 0, 1}});
    int down = with_props("xx $FaCiNg and more", {{0, 0, -1}});
    int side = with_props("$facingX", {{1, 0, 0}});
    int tilted = with_props("$facing", {{0.6f, 0, 0.8f}});
    int bare = with_props("$facing"); // without a polygon the old values stay
    model.facing[bare] = {45, {0, 0, 1}};
    prepare_model();
    expect_facing(up, 0, {0, 1, 0});
    expect_facing(down, 180, {0, 1, 0});
    expect_facing(side, 90, {0, -1, 0});
    expect_facing(tilted, 36.869f, {0, -1, 0});
    expect_facing(bare, 45, {0, 0, 1});
    EXPECT_TRUE(sink.boxes.empty());
    add_polygon(up, {}, {0, 1, 0}); // the last polygon counts, and more than one is a note
    prepare_model();
    EXPECT_EQ(last_caption() + " " + last_text(), "INFO $facing... NumPoly > 1");
    expect_facing(up, 90, {1, 0, 0});
}

TEST_F(PropertyTest, RotateReadsItsTurnTimeAndOnlyTheTextFromTheLastDollarCounts) {
    view.spin_angle[0] = 33;
    view.spin_angle[59] = 12;
    int s = with_props("turret $rotate=5  (turn time)");
    int bad = with_props("$ROTATE=fast");
    model.rotate_time[bad] = 7; // an unreadable number leaves the old one
    int glow = with_props("$rotate=3 $glow=1,0,0,1");
    int fov = with_props("$rotate=3$fov=360.0,8.0,8.0");
    with_props("rotate=3");
    with_props("$rotat=3");
    model.sobj_facing[59] = 1; // every run starts from cleared flags
    prepare_model();
    EXPECT_EQ(model.sobj_rotate[s] + model.sobj_rotate[bad] + model.any_rotate, 3);
    EXPECT_EQ(model.rotate_time[s] * 10 + model.rotate_time[bad], 57.0f);
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[59] + model.sobj_facing[59], 0.0f);
    EXPECT_EQ(model.sobj_glow[glow] + model.sobj_fov[fov], 2);
    for (int r : {glow, fov, glow + 2, glow + 3})
        EXPECT_EQ(model.sobj_rotate[r], 0) << r;
    std::strcpy(model.sobj_props[s], "nothing");
    std::strcpy(model.sobj_props[bad], "nothing");
    prepare_model();
    EXPECT_EQ(model.sobj_fov[fov] * 10 + model.sobj_rotate[s] + model.any_rotate, 10);
}

TEST_F(PropertyTest, GlowReadsColourAndAmountTimesTenAndTurnsFlatPolygonsToTheViewer) {
    int s = with_props("$glow=.2,.2,1,1", {{0, 0, 1}}, 1);
    // Numbers that cannot be read keep their old values; an unread amount is not scaled again,
    // not even when the pass runs again after an edit.
    int bad = with_props("$Glow=0.5, 0.25;9,9");
    model.glow[bad] = {{7, 8, 9}, 2};
    // A flat last polygon is made facing, with (1, 0, 0) as the axis when it already faces.
    int up = with_props("$glow=1,1,1,1", {{0, 0, 1}});
    int side = with_props("$glow=1,1,1,1", {{0, 1, 0}}, 1);
    add_polygon(side, {}, {1, 0, 0});
    for (int run = 0; run < 2; ++run) {
        prepare_model();
        EXPECT_EQ(model.sobj_glow[s], 1);
        const GlowRecord &glow = model.glow[s], &kept = model.glow[bad];
        EXPECT_EQ(std::vector(glow.glow_color, glow.glow_color + 3),
                  (std::vector<float>{0.2f, 0.2f, 1}));
        EXPECT_EQ(std::vector(kept.glow_color, kept.glow_color + 3),
                  (std::vector<float>{0.5f, 0.25f, 9}));
        EXPECT_EQ(glow.glow_amount * 10 + kept.glow_amount, 102.0f);
        EXPECT_EQ(model.sobj_facing[s] + model.sobj_facing[bad], 0)
            << "a textured polygon or none is not made facing";
        expect_facing(up, 0, {1, 0, 0});
        expect_facing(side, 90, {0, -1, 0});
        EXPECT_TRUE(sink.boxes.empty()) << "glow counts no polygons";
    }
}

} // namespace
