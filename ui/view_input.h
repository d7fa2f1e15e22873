// Keys, mouse moves, menu steps and timer ticks as changes of the view state; the main window
// carries out the follow-up work each returns.
#pragma once

#include <cstdint>

#include "ui/effects.h"

// Whole degrees: truncated toward zero, remainder of division by 360 with the dividend's sign.
float normalize_angle(float degrees);

// The keys the model view knows; digits are those of the main row only.
enum class ViewKey { left, right, up, down, s, d, f, e, c, n, p, digit0, digit9, digit8, other };

uint32_t key_down(ViewKey key);

// Menu Right/Left/Up/Down: a step of the angles followed by their normalisation.
void step_view(float dx_degrees, float dy_degrees);

struct MouseState {
    int x, y; // client coordinates
    bool ctrl, shift, left_button, right_button;
};
uint32_t mouse_move(const MouseState& mouse);

// A wheel turn in eighths of a degree (one notch is 120): zooms like SHIFT + a vertical mouse
// move of one pixel per 12 eighths, so a notch equals a 10-pixel move.
constexpr int WHEEL_EIGHTHS_PER_STEP = 12;
uint32_t wheel_turned(int angle_delta);

// One tick of timer 1: spins the "$rotate=" subobjects.
uint32_t timer_tick();
