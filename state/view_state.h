// ViewState: display switches, camera, selections, window flags, request flags, window
// handles and the file-path buffers. Member initialisers are the start values.
#pragma once

#include <cstdint>

#include "state/polymodel.h"

class MainWindowLink;
class DialogWindow;

constexpr int PATH_LEN = 256;
constexpr float START_ROT = 30.01f; // rot_x and rot_y put back by every load

struct ViewState {
    // Camera.
    float rot_x = START_ROT; // degrees about X, applied first
    float rot_y = START_ROT; // degrees about Y, applied after rot_x
    float zoom = 0.0f;       // half-extent of the view along the shorter window side
    int32_t zoom_locked = 0; // SHIFT zoom keeps zoom instead of recomputing it
    int32_t view_width = 0;
    int32_t view_height = 0; // never stored below 1 by the projection
    int32_t last_mouse_x = 0;
    int32_t last_mouse_y = 0;

    // Display switches (0/1).
    int32_t fill_poly = 1;
    int32_t size_to_poly = 1;
    int32_t cull_face = 1;
    int32_t show_textures = 1;
    int32_t smooth = 1;
    int32_t bg_red = 0;
    int32_t bg_green = 0;
    int32_t bg_blue = 0;
    float clear_red = 0.0f; // 1.0 while bg_red is set
    float clear_green = 0.0f;
    float clear_blue = 0.0f;
    int32_t rotate_on = 0;
    int32_t facing_on = 0;
    int32_t positions_on = 0;
    int32_t glow_on = 0;
    int32_t flat_colors = 1;
    int32_t highlight_sobj = 0;
    int32_t sobj_highlight[MAX_SOBJ] = {};
    int32_t highlight_texture = 0;
    int32_t texture_highlight[MAX_TEXTURE] = {};
    int32_t show_location = 0;
    int32_t show_all_points = 0;

    // Selections and runtime state.
    uint32_t cur_sobj = 0;
    uint32_t cur_texture = 0;
    uint32_t cur_keyframe = 0; // index into used_frames
    uint32_t cur_hog_oof = 0;  // position in the archive's polymodel list
    uint32_t edit_tab = 0;     // 0 GPNT, 1 GRND, 2 ATCH, 3 NATH, 4 SPCL, 5 WBAT, 6 SOBJ
    uint32_t cur_point = 0;    // shared by the GPNT, GRND, ATCH and NATH pages
    uint32_t cur_special = 0;
    uint32_t cur_battery = 0;
    float spin_angle[MAX_SOBJ] = {}; // current $rotate angle per subobject
    int32_t model_loaded = 0;
    int32_t view_settings_open = 0;
    int32_t edit_window_open = 0;

    // Request flags read by the Refresh command.
    int32_t refresh_only = 0;
    int32_t selection_changed = 0;
    int32_t hog_pick_pending = 0;

    // Windows of the window layer (ui/); the core only stores them.
    MainWindowLink* main_window = nullptr;
    DialogWindow* view_settings_window = nullptr;
    DialogWindow* edit_window = nullptr;
    DialogWindow* edit_page_window = nullptr;

    // File paths handed to the readers and writers; an empty dialog result means cancel.
    char oof_path[PATH_LEN] = {};
    char import_path[PATH_LEN] = {};
    char export_path[PATH_LEN] = {};
    char file_dialog_result[PATH_LEN] = {};
};

extern ViewState view;
