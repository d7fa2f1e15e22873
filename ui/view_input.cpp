// Keyboard, mouse and timer rules over the view state and the store.
#include "ui/view_input.h"

#include <cmath>

#include "state/polymodel.h"
#include "state/view_state.h"

float normalize_angle(float degrees) {
    // Out-of-range values (a runaway drag) must not overflow the integer conversion.
    double whole = std::trunc(static_cast<double>(degrees));
    if (!std::isfinite(whole))
        return 0.0f;
    return static_cast<float>(std::fmod(whole, 360.0));
}

namespace {

void normalize_view() {
    view.rot_x = normalize_angle(view.rot_x);
    view.rot_y = normalize_angle(view.rot_y);
}

uint32_t keyframe_step(ViewKey key) {
    if (model.num_used_frames == 0 || !view.positions_on)
        return effect_none;
    if (key == ViewKey::digit0)
        view.cur_keyframe = 0;
    else if (key == ViewKey::digit9 && view.cur_keyframe < model.num_used_frames - 1)
        ++view.cur_keyframe;
    else if (key == ViewKey::digit8 && view.cur_keyframe > 0)
        --view.cur_keyframe;
    return effect_notify_keyframe | effect_project | effect_rebuild | effect_redraw;
}

// The point that a drag moves: the current record of the Edit Window tab, or none.
Vec3* dragged_point() {
    auto pick = [](uint32_t count, Vec3* locations, uint32_t index) -> Vec3* {
        return index < count ? &locations[index] : nullptr;
    };
    switch (view.edit_tab) {
    case 0:
        return pick(model.num_gun_points, model.gun_points.location, view.cur_point);
    case 1:
        return pick(model.num_ground_points, model.ground_points.location, view.cur_point);
    case 2:
        return pick(model.num_attach_points, model.attach_points.location, view.cur_point);
    case 3:
        return pick(model.num_nath_points, model.nath_points.location, view.cur_point);
    case 4:
        return pick(model.num_special_points, model.special_points.location, view.cur_special);
    default:
        return nullptr;
    }
}

} // namespace

uint32_t key_down(ViewKey key) {
    switch (key) {
    case ViewKey::n:
        return effect_next;
    case ViewKey::p:
        return effect_previous;
    case ViewKey::digit0:
    case ViewKey::digit9:
    case ViewKey::digit8:
        return keyframe_step(key);
    case ViewKey::left:
        view.rot_y -= 5;
        break;
    case ViewKey::right:
        view.rot_y += 5;
        break;
    case ViewKey::up:
        view.rot_x -= 5;
        break;
    case ViewKey::down:
        view.rot_x += 5;
        break;
    case ViewKey::s:
        view.rot_x = 0;
        view.rot_y = 270.01f;
        break;
    case ViewKey::d:
        view.rot_x = START_ROT;
        view.rot_y = START_ROT;
        break;
    case ViewKey::f:
        view.rot_x = 0;
        view.rot_y = 0;
        break;
    case ViewKey::e:
        view.rot_x = 90.01f;
        view.rot_y = 0;
        break;
    case ViewKey::c:
        view.rot_x = 270.01f;
        view.rot_y = 0;
        break;
    case ViewKey::other:
        break;
    }
    normalize_view();
    return effect_redraw;
}

void step_view(float dx_degrees, float dy_degrees) {
    view.rot_x += dx_degrees;
    view.rot_y += dy_degrees;
    normalize_view();
}

namespace {

// A manual zoom: locked against the automatic one, never closer than a fifth of the radius.
uint32_t zoom_by(int dy) {
    view.zoom_locked = 1;
    view.zoom += dy;
    float least = 0.2f * model.model_radius;
    if (view.zoom < least)
        view.zoom = least;
    return effect_project | effect_redraw;
}

} // namespace

uint32_t mouse_move(const MouseState& mouse) {
    // Client coordinates arrive as signed 16-bit values.
    int x = static_cast<int16_t>(mouse.x);
    int y = static_cast<int16_t>(mouse.y);
    int dx = x - view.last_mouse_x;
    int dy = y - view.last_mouse_y;
    uint32_t effects = effect_none;
    // The first move after start only records where the mouse is.
    if (view.last_mouse_x != 0 || view.last_mouse_y != 0) {
        if (mouse.ctrl) {
            view.rot_x = normalize_angle(view.rot_x + dy);
            view.rot_y = normalize_angle(view.rot_y + dx);
            effects |= effect_redraw;
        }
        if (mouse.shift)
            effects |= zoom_by(dy);
        if (mouse.left_button && view.model_loaded && view.show_location) {
            if (Vec3* p = dragged_point()) {
                p->x -= dx * 0.01f;
                p->y -= dy * 0.01f;
            }
            effects |= effect_rebuild | effect_redraw | effect_notify_page;
        }
        if (mouse.right_button && view.model_loaded && view.show_location) {
            if (Vec3* p = dragged_point())
                p->z += dy * 0.01f;
            effects |= effect_rebuild | effect_redraw | effect_notify_page;
        }
    }
    view.last_mouse_x = x;
    view.last_mouse_y = y;
    return effects;
}

uint32_t timer_tick() {
    if (!view.rotate_on || !model.any_rotate)
        return effect_none;
    uint32_t count = model.num_subobjects < MAX_SOBJ ? model.num_subobjects : MAX_SOBJ;
    for (uint32_t i = 0; i < count; ++i) {
        // A turn time of 0 would divide by zero: such a subobject stands still.
        if (!model.sobj_rotate[i] || model.rotate_time[i] == 0.0f)
            continue;
        view.spin_angle[i] = normalize_angle(view.spin_angle[i] + 18.0f / model.rotate_time[i]);
    }
    return effect_redraw;
}

uint32_t wheel_turned(int angle_delta) {
    // Turning the wheel away from the user zooms in, as moving the mouse up with SHIFT does.
    int dy = -angle_delta / WHEEL_EIGHTHS_PER_STEP;
    return dy == 0 ? effect_none : zoom_by(dy);
}
