// prepare_model: the model radius through the subobject chain, the reset, the last-'$' rule and
// each property with its angles, axes, numbers and note.
#include <cstring>
#include <sstream>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

namespace {

// What the pass made of subobject s: " rotate <time>", " facing <angle> <axis>",
// " glow <colour> <amount>", " fov".
std::string derived(int s) {
    std::ostringstream out;
    const Vec3& axis = model.facing[s].facing_axis;
    const float* c = model.glow[s].glow_color;
    if (model.sobj_rotate[s])
        out << " rotate " << model.rotate_time[s];
    if (model.sobj_facing[s])
        out << " facing " << model.facing[s].facing_angle << ' ' << axis.x + 0.0f << ','
            << axis.y + 0.0f << ',' << axis.z + 0.0f;
    if (model.sobj_glow[s])
        out << " glow " << c[0] << ',' << c[1] << ',' << c[2] << ' ' << model.glow[s].glow_amount;
    if (model.sobj_fov[s])
        out << " fov";
    return out.str();
}

class PropertyTest : public CoreTest {};

// The largest coordinate, or the magnitude of the smallest cut to a whole number. Vertex
// (1, 0, 0) of subobject 2 (offset (0, 5, 0)) under subobject 0 (offset (10, 0, 0)) lies at
// (11, 5, 0); a parent stored after its child is followed; a chain that loops or leaves the used
// subobjects ends there.
TEST_F(PropertyTest, RadiusIsTheLargestCoordinateOfTheAssembledModel) {
    int s = add_subobject(-1, {});
    const std::pair<std::vector<Vec3>, float> spreads[] = {
        {{{-12.7f, 3, 4}, {10, -1, 2}}, 12},
        {{{-3, 3, 4}, {10, -1, 2}}, 10},
        {{{-0.5f, -0.1f, -0.2f}, {-0.3f, -0.4f, -0.25f}}, 0},
        {{}, 0}};
    for (const auto& [vertices, radius] : spreads) {
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
    const std::tuple<int, int, float> chains[] = {{-1, 0, 11}, {-1, 1, 101}, {1, 0, 111},
                                                  {3, 0, 11},  {2, 0, 11},   {-1, 2, 5}};
    for (auto [parent_of_0, parent_of_2, radius] : chains) {
        model.sobj_parent[0] = parent_of_0;
        model.sobj_parent[2] = parent_of_2;
        prepare_model();
        EXPECT_EQ(model.model_radius, radius) << parent_of_0 << " " << parent_of_2;
    }
}

// Each row: the properties, the normals of the subobject's polygons (the first one textured
// when asked) and what the pass makes of them, the same when it runs again after an edit.
// Facing: acos(0.8) is 36.8699 degrees; the normal is cut to 0.001 first, then the angle;
// straight down gives 180.00006, cut to 180; without a polygon the old values stay. Only the
// text from the last '$' counts; a number that cannot be read keeps its old value, and an
// unread glow amount is not scaled again. Glow turns a flat last polygon to the viewer, with
// (1, 0, 0) as the axis when it already faces it.
TEST_F(PropertyTest, EachPropertyWithItsNumbersAnglesAndAxes) {
    const struct {
        const char* props;
        std::vector<Vec3> normals;
        bool textured;
        const char* derived;
    } rows[] = {
        {"$facing", {{0, 0, 1}}, false, " facing 0 0,1,0"},
        {"xx $FaCiNg and more", {{0, 0, -1}}, false, " facing 180 0,1,0"},
        {"$facingX", {{1, 0, 0}}, false, " facing 90 0,-1,0"},
        {"$facing", {{0.6f, 0, 0.8f}}, false, " facing 36.869 0,-1,0"},
        {"$facing", {}, false, " facing 45 0,0,1"},
        {"turret $rotate=5  (turn time)", {}, false, " rotate 5"},
        {"$ROTATE=fast", {}, false, " rotate 7"},
        {"$rotate=3 $glow=1,0,0,1", {}, false, " glow 1,0,0 10"},
        {"$rotate=3$fov=360.0,8.0,8.0", {}, false, " fov"},
        {"rotate=3", {}, false, ""},
        {"$rotat=3", {}, false, ""},
        {"$glow=.2,.2,1,1", {{0, 0, 1}}, true, " glow 0.2,0.2,1 10"},
        {"$Glow=0.5, 0.25;9,9", {}, false, " glow 0.5,0.25,9 2"},
        {"$glow=1,1,1,1", {{0, 0, 1}}, false, " facing 0 1,0,0 glow 1,1,1 10"},
        {"$glow=1,1,1,1", {{0, 1, 0}, {1, 0, 0}}, true, " facing 90 0,-1,0 glow 1,1,1 10"},
        {"$facing", {{0.6006f, 0, 0.7995f}}, false, " facing 36.904 0,-1,0"}, // (0.6, 0, 0.799)
    };
    std::vector<std::string> want;
    for (const auto& row : rows) {
        int s = add_subobject(-1, {});
        std::strcpy(model.sobj_props[s], row.props);
        for (const Vec3& normal : row.normals)
            add_polygon(s, {}, normal).n_txtr = row.textured && &normal == &row.normals[0];
        want.push_back(row.derived);
    }
    model.facing[4] = {45, {0, 0, 1}};
    model.rotate_time[6] = 7;
    model.glow[12] = {{7, 8, 9}, 2};
    view.spin_angle[0] = 33;
    view.spin_angle[59] = 12;
    model.sobj_facing[59] = 1; // every run starts from cleared flags
    for (int run = 0; run < 2; ++run) {
        prepare_model();
        std::vector<std::string> got;
        for (uint32_t s = 0; s < model.num_subobjects; ++s)
            got.push_back(derived(s));
        EXPECT_EQ(got, want) << "run " << run;
    }
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[59] + model.sobj_facing[59], 0.0f);
    EXPECT_EQ(model.any_rotate, 1);
    EXPECT_TRUE(sink.boxes.empty()) << "glow counts no polygons";
    // The last polygon counts, and more than one under $facing is a note; rotate goes with its
    // text.
    add_polygon(0, {}, {0, 1, 0});
    std::strcpy(model.sobj_props[5], "nothing");
    std::strcpy(model.sobj_props[6], "nothing");
    prepare_model();
    EXPECT_EQ(last_caption() + " " + last_text(), "INFO $facing... NumPoly > 1");
    EXPECT_EQ(derived(0) + derived(5) + derived(8), " facing 90 1,0,0 fov");
    EXPECT_EQ(model.any_rotate, 0);
}

} // namespace
