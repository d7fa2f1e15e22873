// What the window layer must do after a command or an input changed the state; combinable.
// The main window carries them out in a fixed order: Next/Previous, textures, dialog
// refreshes, projection, rebuild, redraw.
#pragma once

#include <cstdint>

enum Effect : uint32_t {
    effect_none = 0,
    effect_redraw = 1u << 0,
    effect_project = 1u << 1,
    effect_rebuild = 1u << 2,
    effect_notify_keyframe = 1u << 3,   // View Settings init code 1
    effect_notify_page = 1u << 4,       // the shown Edit Window page, init code 0
    effect_next = 1u << 5,              // run command 40005
    effect_previous = 1u << 6,          // run command 40006
    effect_load_textures = 1u << 7,     // load_textures
    effect_release_textures = 1u << 8,  // release_textures
    effect_notify_full = 1u << 9,       // View Settings init code 0
    effect_notify_keep_list = 1u << 10, // View Settings init code 2
    effect_close = 1u << 11,            // close the main window (Exit)
};
