// Keys, mouse moves and wheel turns as changes of the view state. (Drags and the spin timer are
// checked with the Edit Window pages and the real window.)
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

} // namespace
