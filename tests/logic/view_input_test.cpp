// Keys, menu steps, mouse moves and timer ticks as changes of the view state.
#include <gtest/gtest.h>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "ui/view_input.h"

namespace {

class ViewInputTest : public CoreTest {};

TEST_F(ViewInputTest, NormalizeTruncatesAndKeepsTheSignOfTheDividend) {
    std::pair<float, float> cases[] = {{365, 5},   {-5, -5},       {-365, -5}, {30.01f, 30},
                                       {-0.9f, 0}, {719.99f, 359}, {-360, 0}};
    for (auto [in, out] : cases)
        EXPECT_EQ(normalize_angle(in), out) << in;
    EXPECT_LT(std::abs(normalize_angle(1e30f)), 360.0f); // no overflow trap
}

TEST_F(ViewInputTest, ArrowsStepFiveDegreesAndNeverWrapToPositive) {
    view.rot_x = 0;
    EXPECT_EQ(key_down(ViewKey::up), effect_redraw);
    EXPECT_EQ(view.rot_x, -5.0f);
    for (int i = 1; i < 72; ++i) {
        key_down(ViewKey::up);
        if (i == 13) {
            EXPECT_EQ(view.rot_x, -70.0f);
        }
    }
    EXPECT_EQ(view.rot_x, 0.0f);
    view.rot_y = 357;
    key_down(ViewKey::right);
    EXPECT_EQ(view.rot_y, 2.0f);
    key_down(ViewKey::left);
    key_down(ViewKey::left);
    EXPECT_EQ(view.rot_y, -8.0f);
    key_down(ViewKey::down);
    EXPECT_EQ(view.rot_x, 5.0f);
    // Any other key only truncates; N and P leave the angles alone.
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
    EXPECT_EQ(view.cur_keyframe, 1u);
    view.positions_on = 1;
    uint32_t step = effect_notify_keyframe | effect_project | effect_rebuild | effect_redraw;
    EXPECT_EQ(key_down(ViewKey::digit9), step);
    EXPECT_EQ(view.cur_keyframe, 2u);
    EXPECT_EQ(key_down(ViewKey::digit9), step); // at the last: refreshes anyway
    EXPECT_EQ(view.cur_keyframe, 2u);
    key_down(ViewKey::digit8);
    EXPECT_EQ(view.cur_keyframe, 1u);
    key_down(ViewKey::digit0);
    EXPECT_EQ(view.cur_keyframe, 0u);
    EXPECT_EQ(key_down(ViewKey::digit8), step);
    EXPECT_EQ(view.cur_keyframe, 0u);
    model.num_used_frames = 0;
    EXPECT_EQ(key_down(ViewKey::digit0), effect_none);
}

TEST_F(ViewInputTest, FirstMoveOnlyRecordsThenCtrlRotatesAndShiftOrTheWheelZooms) {
    model.model_radius = 50;
    view.zoom = 100;
    EXPECT_EQ(mouse_move({100, 120, true, false, false, false}), effect_none);
    EXPECT_EQ(view.rot_x, START_ROT);
    EXPECT_EQ(view.last_mouse_x, 100);
    EXPECT_EQ(view.last_mouse_y, 120);

    EXPECT_EQ(mouse_move({110, 117, true, false, false, false}), effect_redraw);
    EXPECT_EQ(view.rot_x, 27.0f); // 30.01 - 3, truncated
    EXPECT_EQ(view.rot_y, 40.0f); // 30.01 + 10, truncated

    EXPECT_EQ(mouse_move({110, 147, false, true, false, false}), effect_project | effect_redraw);
    EXPECT_EQ(view.zoom, 130.0f);
    EXPECT_EQ(view.zoom_locked, 1);
    mouse_move({110, 20, false, true, false, false});
    EXPECT_EQ(view.zoom, 10.0f); // clamped at 0.2 x radius
    // Without buttons or keys the move is only recorded.
    EXPECT_EQ(mouse_move({5, 6, false, false, false, false}), effect_none);
    EXPECT_EQ(view.last_mouse_x, 5);

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
    view.model_loaded = 1;
    view.show_location = 1;
    model.num_gun_points = 2;
    model.gun_points.location[1] = {1, 2, 3};
    model.num_special_points = 1;
    model.special_points.location[0] = {4, 5, 6};
    view.cur_point = 1;
    view.last_mouse_x = 10;
    view.last_mouse_y = 10;
    uint32_t drag = effect_rebuild | effect_redraw | effect_notify_page;
    EXPECT_EQ(mouse_move({30, 60, false, false, true, false}), drag);
    EXPECT_FLOAT_EQ(model.gun_points.location[1].x, 1 - 0.2f);
    EXPECT_FLOAT_EQ(model.gun_points.location[1].y, 2 - 0.5f);
    EXPECT_FLOAT_EQ(model.gun_points.location[1].z, 3);
    EXPECT_EQ(mouse_move({30, 40, false, false, false, true}), drag);
    EXPECT_FLOAT_EQ(model.gun_points.location[1].z, 3 - 0.2f);

    view.edit_tab = 4;
    mouse_move({20, 40, false, false, true, false});
    EXPECT_FLOAT_EQ(model.special_points.location[0].x, 4 + 0.1f);
    // The battery tab moves nothing but still redraws and refreshes the page.
    view.edit_tab = 5;
    Vec3 before = model.gun_points.location[1];
    EXPECT_EQ(mouse_move({0, 0, false, false, true, false}), drag);
    EXPECT_EQ(model.gun_points.location[1].x, before.x);
    // An empty list is not touched.
    view.edit_tab = 1;
    model.ground_points.location[0] = {7, 7, 7};
    mouse_move({9, 9, false, false, true, false});
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
    EXPECT_EQ(view.spin_angle[0], 0.0f); // 120 ticks: 360 reduces to 0
    EXPECT_EQ(view.spin_angle[1], 0.0f);
    EXPECT_EQ(view.spin_angle[2], 0.0f);
    model.any_rotate = 0;
    EXPECT_EQ(timer_tick(), effect_none);
}

} // namespace
