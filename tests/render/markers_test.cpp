// Point markers: which points are marked, in which colour, with white direction lines.
#include "render/markers.h"
#include "tests/render/draw_fixture.h"

namespace {

class MarkerTest : public DrawTest {
  protected:
    void SetUp() override {
        DrawTest::SetUp();
        view.zoom = 10; // five pixels per unit
        set_projection(SIZE, SIZE);
        add_subobject(-1, {0, 0, 0});
        add_subobject(0, {0, 0, 0});
    }
    // Window pixel (y from the top) of model point (x, y) at five pixels per unit.
    static int px(float x) { return int(std::floor(50 - 5 * x)); }
    static int py(float y) { return 99 - int(std::floor(50 + 5 * y)); }
    // Points sit half a pixel off the grid so their lines cover whole pixels.
    static Vec3 spot(float x, float y) { return {x - 0.1f, y + 0.1f, 0}; }

    // The colour 1.5 units right of p (on the cross's X arm) and whether a white pixel lies
    // where p + 3 x d ends up.
    HeadlessGl::Rgba arm(Vec3 p) { return gl.pixel(px(p.x - 1.5f), py(p.y)); }
    bool white_along(Vec3 p, Vec3 d) {
        return any_near(px(p.x + 3 * d.x), py(p.y + 3 * d.y), 1,
                        [](HeadlessGl::Rgba c) { return c.r > 200 && c.g > 200 && c.b > 200; });
    }
};

enum class Hue { red, green, magenta, cyan, yellow, none };

Hue hue_of(HeadlessGl::Rgba c) {
    bool r = c.r > 150, g = c.g > 150, b = c.b > 150;
    bool r0 = c.r < 40, g0 = c.g < 40, b0 = c.b < 40;
    if (r && g0 && b0)
        return Hue::red;
    if (r0 && g && b0)
        return Hue::green;
    if (r && g0 && b)
        return Hue::magenta;
    if (r0 && g && b)
        return Hue::cyan;
    if (r && g && b0)
        return Hue::yellow;
    return Hue::none;
}

void set_point(PointList& list, uint32_t& count, uint32_t submodel, Vec3 at, Vec3 dir) {
    list.submodel[count] = submodel;
    list.location[count] = at;
    list.direction[count++] = dir;
}

const Vec3 DIAGONAL = {-0.6f, 0.8f, 0}; // up and to the right as seen

TEST_F(MarkerTest, ShowAllPointsMarksEveryListInItsColour) {
    set_point(model.gun_points, model.num_gun_points, 0, spot(6, 6), DIAGONAL);
    set_point(model.ground_points, model.num_ground_points, 1, spot(-6, 6), DIAGONAL);
    set_point(model.attach_points, model.num_attach_points, 0, spot(6, -6), DIAGONAL);
    set_point(model.nath_points, model.num_nath_points, 1, spot(-6, -6), DIAGONAL);
    model.special_points.location[0] = spot(0, 0);
    model.num_special_points = 1;
    view.show_all_points = 1;
    draw();
    EXPECT_EQ(hue_of(arm(spot(6, 6))), Hue::red);
    EXPECT_EQ(hue_of(arm(spot(-6, 6))), Hue::green);
    EXPECT_EQ(hue_of(arm(spot(6, -6))), Hue::magenta);
    EXPECT_EQ(hue_of(arm(spot(-6, -6))), Hue::cyan);
    EXPECT_EQ(hue_of(arm(spot(0, 0))), Hue::yellow);
    EXPECT_TRUE(white_along(spot(6, 6), DIAGONAL));
    EXPECT_TRUE(white_along(spot(-6, -6), DIAGONAL));
    // The cross's Y arm keeps the marker colour; special points have no direction line.
    EXPECT_EQ(hue_of(gl.pixel(px(6 - 0.1f), py(6 + 0.1f - 1.5f))), Hue::red);
    EXPECT_FALSE(white_along(spot(0, 0), DIAGONAL));
}

TEST_F(MarkerTest, ShowLocationMarksOnlyTheCurrentPointOfTheOpenTab) {
    set_point(model.gun_points, model.num_gun_points, 0, spot(6, 6), DIAGONAL);
    set_point(model.gun_points, model.num_gun_points, 0, spot(-6, 6), DIAGONAL);
    set_point(model.ground_points, model.num_ground_points, 0, spot(6, -6), DIAGONAL);
    set_point(model.ground_points, model.num_ground_points, 0, spot(-6, -6), DIAGONAL);
    model.special_points.location[1] = spot(0, 0);
    model.num_special_points = 2;
    view.show_location = 1;
    view.cur_point = 1;
    view.cur_special = 1;
    draw();
    EXPECT_EQ(hue_of(arm(spot(6, 6))), Hue::none);
    EXPECT_EQ(hue_of(arm(spot(-6, 6))), Hue::red);
    EXPECT_TRUE(white_along(spot(-6, 6), DIAGONAL));
    EXPECT_EQ(hue_of(arm(spot(-6, -6))), Hue::none);
    EXPECT_EQ(hue_of(arm(spot(0, 0))), Hue::none);

    view.edit_tab = 1;
    draw();
    EXPECT_EQ(hue_of(arm(spot(-6, 6))), Hue::none);
    EXPECT_EQ(hue_of(arm(spot(-6, -6))), Hue::green);

    view.edit_tab = 4;
    draw();
    EXPECT_EQ(hue_of(arm(spot(-6, -6))), Hue::none);
    EXPECT_EQ(hue_of(arm(spot(0, 0))), Hue::yellow);

    view.show_location = 0;
    draw();
    EXPECT_EQ(hue_of(arm(spot(0, 0))), Hue::none);
}

TEST_F(MarkerTest, MarkersMoveWithTheirSubobject) {
    model.sobj_offset[1] = {4, 0, 0};
    set_point(model.gun_points, model.num_gun_points, 1, spot(0, 3), DIAGONAL);
    // Out-of-range submodels and counts beyond the list are ignored.
    set_point(model.gun_points, model.num_gun_points, 77, spot(-6, -6), DIAGONAL);
    model.num_nath_points = 500;
    view.show_all_points = 1;
    draw();
    EXPECT_EQ(hue_of(arm(spot(4, 3))), Hue::red);
    EXPECT_EQ(hue_of(arm(spot(0, 3))), Hue::none);
    EXPECT_EQ(hue_of(arm(spot(-6, -6))), Hue::none);
}

} // namespace
