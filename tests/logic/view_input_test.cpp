// Keys, mouse moves, wheel turns and timer ticks as changes of the view state.
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "ui/view_input.h"

namespace {

using ViewInputTest = CoreTest;

TEST_F(ViewInputTest, AnglesAreWholeDegreesKeepingTheSignAndArrowsStepFive) {
    std::pair<float, float> cases[] = {{365, 5},   {-5, -5},       {-365, -5}, {30.01f, 30},
                                       {-0.9f, 0}, {719.99f, 359}, {-360, 0}};
    for (auto [in, out] : cases)
        EXPECT_EQ(normalize_angle(in), out) << in;
    EXPECT_LT(std::abs(normalize_angle(1e30f)), 360.0f); // no overflow trap

    view.rot_x = 0;
    EXPECT_EQ(key_down(ViewKey::up), effect_redraw);
    for (int i = 1; i < 72; ++i)
        key_down(ViewKey::up);
    EXPECT_EQ(view.rot_x, 0.0f) << "never wraps to positive";
    view.rot_y = 357;
    const std::tuple<ViewKey, float, float> steps[] = {
        {ViewKey::right, 0, 2}, {ViewKey::left, 0, -3}, {ViewKey::left, 0, -8},
        {ViewKey::up, -5, -8},  {ViewKey::down, 0, -8}, {ViewKey::down, 5, -8}};
    for (auto [key, x, y] : steps) {
        key_down(key);
        EXPECT_EQ(std::make_pair(view.rot_x, view.rot_y), std::make_pair(x, y));
    }
    // N and P leave the angles alone; any other key only truncates.
    view.rot_x = START_ROT;
    EXPECT_EQ(key_down(ViewKey::n), effect_next);
    EXPECT_EQ(key_down(ViewKey::p), effect_previous);
    EXPECT_EQ(view.rot_x, START_ROT);
    EXPECT_EQ(key_down(ViewKey::other), effect_redraw);
    EXPECT_EQ(view.rot_x, 30.0f);
}

TEST_F(ViewInputTest, KeyframeKeysActOnlyWithPositionsOnAndKeyframes) {
    model.num_used_frames = 3;
    view.cur_keyframe = 1;
    EXPECT_EQ(key_down(ViewKey::digit9), effect_none); // Positions off
    view.positions_on = 1;
    uint32_t step = effect_notify_keyframe | effect_project | effect_rebuild | effect_redraw;
    const std::pair<ViewKey, uint32_t> keys[] = {{ViewKey::digit9, 2},
                                                 {ViewKey::digit9, 2},
                                                 {ViewKey::digit8, 1},
                                                 {ViewKey::digit0, 0},
                                                 {ViewKey::digit8, 0}};
    for (auto [key, frame] : keys) {
        EXPECT_EQ(key_down(key), step) << "at either end it refreshes anyway";
        EXPECT_EQ(view.cur_keyframe, frame);
    }
    model.num_used_frames = 0;
    EXPECT_EQ(key_down(ViewKey::digit0), effect_none);
}

TEST_F(ViewInputTest, FirstMoveOnlyRecordsThenCtrlRotatesAndShiftOrTheWheelZooms) {
    model.model_radius = 50;
    view.zoom = 100;
    EXPECT_EQ(mouse_move({100, 120, true, false, false, false}), effect_none);
    EXPECT_EQ(view.rot_x, START_ROT);
    EXPECT_EQ(mouse_move({110, 117, true, false, false, false}), effect_redraw);
    EXPECT_EQ(std::make_pair(view.rot_x, view.rot_y), std::make_pair(27.0f, 40.0f)); // truncated
    EXPECT_EQ(mouse_move({110, 147, false, true, false, false}), effect_project | effect_redraw);
    EXPECT_EQ(view.zoom, 130.0f);
    EXPECT_EQ(view.zoom_locked, 1);
    mouse_move({110, 20, false, true, false, false});
    EXPECT_EQ(view.zoom, 10.0f); // clamped at 0.2 x radius
    EXPECT_EQ(mouse_move({5, 6, false, false, false, false}), effect_none);
    EXPECT_EQ(std::make_pair(view.last_mouse_x, view.last_mouse_y), std::make_pair(5, 6));

    // The wheel: a notch away from the user zooms in by 10, with the same lock and clamp.
    view.zoom = 100;
    view.zoom_locked = 0;
    EXPECT_EQ(wheel_turned(-240), effect_project | effect_redraw);
    EXPECT_EQ(view.zoom, 120.0f);
    EXPECT_EQ(view.zoom_locked, 1);
    EXPECT_EQ(wheel_turned(5), effect_none) << "less than a step";
    wheel_turned(1200);
    EXPECT_EQ(view.zoom, 20.0f);
    wheel_turned(1200);
    EXPECT_EQ(view.zoom, 10.0f);
}

TEST_F(ViewInputTest, DragsMoveTheSelectedPointOfTheShownTab) {
    view.model_loaded = view.show_location = 1;
    model.num_gun_points = 2;
    model.gun_points.location[1] = {1, 2, 3};
    model.num_special_points = 1;
    model.special_points.location[0] = {4, 5, 6};
    model.ground_points.location[0] = {7, 7, 7}; // an empty list: not touched
    view.cur_point = 1;
    view.last_mouse_x = view.last_mouse_y = 10;
    uint32_t drag = effect_rebuild | effect_redraw | effect_notify_page;
    struct Step {
        uint32_t tab;
        MouseState mouse;
        Vec3 gun, special;
    } steps[] = {
        {0, {30, 60, false, false, true, false}, {0.8f, 1.5f, 3}, {4, 5, 6}},
        {0, {30, 40, false, false, false, true}, {0.8f, 1.5f, 2.8f}, {4, 5, 6}},
        {4, {20, 40, false, false, true, false}, {0.8f, 1.5f, 2.8f}, {4.1f, 5, 6}},
        // The battery tab moves nothing but redraws and refreshes; an empty list does nothing.
        {5, {0, 0, false, false, true, false}, {0.8f, 1.5f, 2.8f}, {4.1f, 5, 6}},
        {1, {9, 9, false, false, true, false}, {0.8f, 1.5f, 2.8f}, {4.1f, 5, 6}},
    };
    for (const Step& s : steps) {
        view.edit_tab = s.tab;
        EXPECT_EQ(mouse_move(s.mouse), s.tab == 1 ? effect_none : drag) << s.tab;
        expect_near(model.gun_points.location[1], s.gun);
        expect_near(model.special_points.location[0], s.special);
    }
    EXPECT_EQ(model.ground_points.location[0].x, 7.0f);
}

TEST_F(ViewInputTest, TimerSpinsRotatingSubobjectsByWholeDegrees) {
    model.num_subobjects = 3;
    model.any_rotate = 1;
    // 3.6 degrees a tick, truncated to 3; 0.5 a tick: never moves; 0: no division by zero.
    float times[] = {5, 36, 0};
    for (int s = 0; s < 3; ++s) {
        model.sobj_rotate[s] = 1;
        model.rotate_time[s] = times[s];
    }
    EXPECT_EQ(timer_tick(), effect_none); // $Rotate off
    view.rotate_on = 1;
    EXPECT_EQ(timer_tick(), effect_redraw);
    EXPECT_EQ(view.spin_angle[0], 3.0f);
    for (int i = 0; i < 119; ++i)
        timer_tick();
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[1] + view.spin_angle[2], 0.0f)
        << "120 ticks: 360 reduces to 0";
    model.any_rotate = 0;
    EXPECT_EQ(timer_tick(), effect_none);
}

} // namespace
