// Menu 101 and the dialog templates as constant tables, in the style of a resource script.
#include "ui/templates.h"

#include <array>

#include "ui/control_ids.h"

namespace {

using K = ControlKind;
using M = MenuKind;

constexpr uint32_t NUMBER_EDIT =
    style_border | style_auto_hscroll | style_digits_only | style_multi_line | style_tab_stop;
constexpr uint32_t PAGE_EDIT = style_border | style_auto_hscroll | style_tab_stop;
constexpr uint32_t PAGE_NUMBER = PAGE_EDIT | style_digits_only;
constexpr uint32_t PAGE_VALUE = PAGE_EDIT | style_right_align;
constexpr uint32_t CHECK = style_tab_stop;
constexpr uint32_t STEP = style_none; // "+" and "-": plain push buttons without tab stops
constexpr uint32_t BUTTON = style_tab_stop;

constexpr MenuItemTemplate menu_101[] = {
    {0, M::popup, 0, "File"},
    {1, M::popup, 0, "Import"},
    {2, M::command, CMD_IMPORT_COB, "Cob/Scn"},
    {2, M::command, CMD_IMPORT_ORF, "Orf"},
    {1, M::popup, 0, "Export"},
    {2, M::command, CMD_EXPORT_OOF, "Oof"},
    {2, M::command, CMD_EXPORT_ORF, "Orf"},
    {1, M::separator, 0, nullptr},
    {1, M::command, CMD_LOAD_OOF, "Load Oof"},
    {1, M::command, CMD_LOAD_HOG, "Load Hog"},
    {1, M::separator, 0, nullptr},
    {1, M::command, CMD_EXIT, "Exit"},
    {0, M::popup, 0, "View"},
    {1, M::command, CMD_NEXT, "Next"},
    {1, M::command, CMD_PREVIOUS, "Previous"},
    {1, M::separator, 0, nullptr},
    {1, M::separator, 0, nullptr},
    {1, M::command, CMD_RIGHT, "Right"},
    {1, M::command, CMD_LEFT, "Left"},
    {1, M::command, CMD_UP, "Up"},
    {1, M::command, CMD_DOWN, "Down"},
    {0, M::popup, 0, "Options"},
    {1, M::command, CMD_VIEW_SETTINGS, "View Settings"},
    {1, M::separator, 0, nullptr},
    {1, M::command, CMD_LINE_POLY, "Line Poly"},
    {1, M::command, CMD_SIZE2POLY, "Size2Poly"},
    {1, M::command, CMD_CULL_FACE, "Cull Face"},
    {1, M::command, CMD_COLOR, "Color"},
    {1, M::command, CMD_SMOOTH, "Smooth"},
    {1, M::popup, 0, "Background"},
    {2, M::command, CMD_RED, "Red"},
    {2, M::command, CMD_GREEN, "Green"},
    {2, M::command, CMD_BLUE, "Blue"},
    {0, M::popup, 0, "Tool"},
    {1, M::command, CMD_EDIT_WINDOW, "Edit Window"},
    {0, M::popup, 0, "Help"},
    {1, M::command, CMD_ABOUT, "About"},
    {1, M::command, CMD_POLYMODEL_INFO, "Polymodel Info"},
    {0, M::command, CMD_RELOAD, "Reload", true},
};

constexpr int checked_commands[] = {CMD_LINE_POLY, CMD_SIZE2POLY,  CMD_CULL_FACE, CMD_COLOR,
                                    CMD_RED,       CMD_GREEN,      CMD_BLUE,      CMD_VIEW_SETTINGS,
                                    CMD_SMOOTH,    CMD_EDIT_WINDOW};

constexpr ControlTemplate view_settings_controls[] = {
    {NO_ID, K::group_box, "Hog/Oof", 52, 2, 218, 44, 0},
    {NO_ID, K::group_box, "Submodel", 52, 52, 218, 56, 0},
    {NO_ID, K::group_box, "Texture", 52, 114, 218, 56, 0},
    {NO_ID, K::group_box, "Positions", 52, 176, 218, 32, 0},
    {VS_FILE_NAME, K::label, "DIrectory & Hog/Oof Name ***** ***** ***** *****", 60, 12, 145, 8, 0},
    {NO_ID, K::label, "Total Oof =", 210, 12, 36, 8, 0},
    {VS_HOG_COUNT, K::label, "Hnum", 246, 12, 20, 8, 0},
    {NO_ID, K::label, "Hog Oof List", 76, 28, 42, 8, 0},
    {VS_HOG_LIST, K::combo_box, "", 120, 26, 108, 111, style_vscroll | style_tab_stop},
    {VS_HOG_NUMBER, K::edit, "", 230, 26, 21, 12, NUMBER_EDIT},
    {VS_HOG_PLUS, K::push_button, "+", 254, 22, 8, 10, STEP},
    {VS_HOG_MINUS, K::push_button, "-", 254, 32, 8, 10, STEP},
    {VS_ROTATE, K::check_box, "$Rotate", 4, 66, 40, 10, CHECK},
    {VS_FACING, K::check_box, "$Facing", 4, 92, 40, 10, CHECK},
    {VS_FLAT_COLORS, K::check_box, "Flat Colors", 4, 122, 44, 10, CHECK},
    {NO_ID, K::label, "(doors/glows)", 4, 134, 46, 8, 0},
    {VS_GLOW, K::check_box, "$Glow", 4, 148, 35, 10, CHECK},
    {NO_ID, K::label, "(not done yet)", 2, 160, 48, 8, 0},
    {VS_POSITIONS, K::check_box, "Positions", 4, 190, 44, 10, CHECK},
    {NO_ID, K::label, "SOBJ", 82, 66, 18, 8, 0},
    {VS_SOBJ_NUMBER, K::edit, "", 104, 64, 14, 12, NUMBER_EDIT},
    {VS_SOBJ_PLUS, K::push_button, "+", 122, 60, 8, 10, STEP},
    {VS_SOBJ_MINUS, K::push_button, "-", 122, 70, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 66, 9, 8, 0},
    {VS_SOBJ_COUNT, K::label, "Snum", 144, 66, 20, 9, 0},
    {NO_ID, K::label, "Name", 62, 84, 20, 8, 0},
    {VS_SOBJ_NAME, K::label, "Name", 98, 84, 88, 8, 0},
    {NO_ID, K::label, "Properties", 62, 96, 34, 8, 0},
    {VS_SOBJ_PROPS, K::label, "Prop", 98, 96, 88, 8, 0},
    {NO_ID, K::label, "Polygons", 190, 82, 30, 8, 0},
    {VS_SOBJ_POLYS, K::label, "poly", 224, 82, 14, 8, 0},
    {NO_ID, K::label, "Vertices", 190, 96, 28, 8, 0},
    {VS_SOBJ_VERTS, K::label, "vert", 224, 96, 12, 8, 0},
    {NO_ID, K::label, "Of", 238, 82, 9, 8, 0},
    {VS_TOTAL_POLYS, K::label, "poly", 250, 82, 14, 8, 0},
    {NO_ID, K::label, "Of", 238, 96, 9, 8, 0},
    {VS_TOTAL_VERTS, K::label, "vert", 250, 96, 14, 8, 0},
    {VS_HIGHLIGHT_SOBJ, K::check_box, "Highlight Sobj", 184, 68, 58, 10, CHECK},
    {NO_ID, K::label, "TXTR", 82, 128, 18, 8, 0},
    {VS_TEXTURE_NUMBER, K::edit, "", 104, 126, 14, 12, NUMBER_EDIT},
    {VS_TEXTURE_PLUS, K::push_button, "+", 122, 122, 8, 10, STEP},
    {VS_TEXTURE_MINUS, K::push_button, "-", 122, 132, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 128, 9, 8, 0},
    {VS_TEXTURE_COUNT, K::label, "Tnum", 144, 128, 20, 9, 0},
    {NO_ID, K::label, "Name", 62, 146, 20, 8, 0},
    {VS_TEXTURE_NAME, K::label, "Name", 98, 146, 142, 8, 0},
    {NO_ID, K::label, "FileName", 62, 158, 32, 8, 0},
    {VS_TEXTURE_FILE, K::label, "Loadname", 98, 158, 142, 8, 0},
    {VS_HIGHLIGHT_TEXTURE, K::check_box, "Highlight Texture", 184, 126, 66, 10, CHECK},
    {NO_ID, K::label, "KeyFrame", 68, 190, 34, 8, 0},
    {VS_KEY_NUMBER, K::edit, "", 104, 188, 14, 12, NUMBER_EDIT},
    {VS_KEY_PLUS, K::push_button, "+", 122, 184, 8, 10, STEP},
    {VS_KEY_MINUS, K::push_button, "-", 122, 194, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 190, 9, 8, 0},
    {VS_KEY_COUNT, K::label, "Knum", 144, 190, 20, 9, 0},
    {NO_ID, K::label, "Frame #", 182, 190, 26, 8, 0},
    {VS_KEY_FRAME, K::label, "Fnum", 210, 190, 18, 8, 0},
};

constexpr ControlTemplate point_page_controls[] = {
    {PT_NUMBER, K::edit, "", 24, 9, 19, 15, PAGE_NUMBER},
    {PT_PLUS, K::push_button, "+", 48, 4, 11, 12, STEP},
    {PT_MINUS, K::push_button, "-", 48, 16, 11, 12, STEP},
    {NO_ID, K::label, "Of", 64, 12, 10, 8, 0},
    {PT_COUNT, K::label, "totnum", 78, 12, 27, 11, 0},
    {PT_ADD, K::push_button, "Add Point", 131, 4, 80, 12, BUTTON},
    {PT_DELETE, K::push_button, "Delete Current Point", 131, 20, 80, 12, BUTTON},
    {NO_ID, K::label, "Location", 18, 46, 40, 8, 0},
    {PT_LOC_X, K::edit, "", 66, 44, 34, 14, PAGE_VALUE},
    {PT_LOC_Y, K::edit, "", 102, 44, 34, 14, PAGE_VALUE},
    {PT_LOC_Z, K::edit, "", 138, 44, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Direction", 18, 64, 40, 8, 0},
    {PT_DIR_X, K::edit, "", 66, 62, 34, 14, PAGE_VALUE},
    {PT_DIR_Y, K::edit, "", 102, 62, 34, 14, PAGE_VALUE},
    {PT_DIR_Z, K::edit, "", 138, 62, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Submodel", 18, 82, 40, 8, 0},
    {PT_SUBMODEL, K::edit, "", 66, 80, 34, 14, PAGE_NUMBER | style_right_align},
};

constexpr ControlTemplate special_page_controls[] = {
    {SP_NUMBER, K::edit, "", 24, 9, 19, 15, PAGE_NUMBER},
    {SP_PLUS, K::push_button, "+", 48, 4, 11, 12, STEP},
    {SP_MINUS, K::push_button, "-", 48, 17, 11, 12, STEP},
    {NO_ID, K::label, "Of", 64, 12, 10, 8, 0},
    {SP_COUNT, K::label, "Spnum", 78, 12, 27, 11, 0},
    {SP_ADD, K::push_button, "Add Point", 131, 4, 80, 12, BUTTON},
    {SP_DELETE, K::push_button, "Delete Current Point", 131, 20, 80, 12, BUTTON},
    {NO_ID, K::label, "Name", 12, 49, 36, 8, 0},
    {SP_NAME, K::edit, "", 52, 46, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Properties", 12, 66, 36, 8, 0},
    {SP_PROPS, K::edit, "", 52, 65, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Location", 12, 86, 36, 8, 0},
    {SP_LOC_X, K::edit, "", 52, 84, 34, 14, PAGE_VALUE},
    {SP_LOC_Y, K::edit, "", 88, 84, 34, 14, PAGE_VALUE},
    {SP_LOC_Z, K::edit, "", 124, 84, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Radius?", 12, 105, 36, 8, 0},
    {SP_RADIUS, K::edit, "", 52, 102, 34, 14, PAGE_NUMBER | style_right_align},
};

constexpr ControlTemplate edit_window_controls[] = {
    {EW_TABS, K::tab_control, "Tab1", 6, 4, 258, 148, style_tab_stop},
    {EW_SHOW_LOCATION, K::check_box, "Show Location", 184, 158, 63, 10, CHECK},
    {EW_SHOW_ALL_POINTS, K::check_box, "Show All Points", 110, 158, 65, 10, CHECK},
};

// Battery boxes: the "Turrets" columns share these rows.
constexpr int turret_rows[10] = {14, 25, 34, 44, 54, 65, 74, 84, 94, 105};
constexpr const char* numbers[30] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                     "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
                                     "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"};

constexpr std::array<ControlTemplate, 49> make_battery_controls() {
    std::array<ControlTemplate, 49> c{};
    int n = 0;
    c[n++] = {NO_ID, K::group_box, "Gunpoints", 94, 4, 44, 114, 0};
    c[n++] = {NO_ID, K::group_box, "Turrets", 142, 4, 88, 114, 0};
    c[n++] = {WB_NUMBER, K::edit, "", 6, 19, 19, 15, PAGE_NUMBER};
    c[n++] = {WB_PLUS, K::push_button, "+", 30, 14, 11, 12, STEP};
    c[n++] = {WB_MINUS, K::push_button, "-", 30, 26, 11, 12, STEP};
    c[n++] = {NO_ID, K::label, "Of", 46, 22, 10, 8, 0};
    c[n++] = {WB_COUNT, K::label, "totnum", 60, 22, 27, 11, 0};
    c[n++] = {WB_ADD, K::push_button, "Add Battery", 6, 52, 80, 12, BUTTON};
    c[n++] = {WB_DELETE, K::push_button, "Delete Current Battery", 6, 68, 80, 12, BUTTON};
    for (int i = 0; i < 10; ++i)
        c[n++] = {WB_FIRST_GUN + i, K::check_box,     numbers[i], 98,
                  16 + 10 * i,      i == 9 ? 24 : 20, 10,         CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {WB_FIRST_TURRET + i, K::check_box,     numbers[i], 148,
                  turret_rows[i],      i == 9 ? 24 : 20, 10,         CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {WB_FIRST_TURRET + 10 + i,
                  K::check_box,
                  numbers[10 + i],
                  174,
                  turret_rows[i],
                  24,
                  10,
                  CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {WB_FIRST_TURRET + 20 + i,
                  K::check_box,
                  numbers[20 + i],
                  200,
                  turret_rows[i],
                  24,
                  10,
                  CHECK};
    return c;
}
constexpr auto battery_controls = make_battery_controls();

constexpr ControlTemplate submodel_controls[] = {
    {SM_HIGHLIGHT, K::check_box, "Highlight Sobj", 144, 12, 77, 12, CHECK},
    {SM_NUMBER, K::edit, "", 37, 11, 19, 15, PAGE_NUMBER},
    {SM_PLUS, K::push_button, "+", 61, 6, 11, 12, STEP},
    {SM_MINUS, K::push_button, "-", 61, 18, 11, 12, STEP},
    {NO_ID, K::label, "Of", 77, 14, 10, 8, 0},
    {SM_COUNT, K::label, "Snum", 91, 14, 27, 11, 0},
    {NO_ID, K::label, "Name", 6, 38, 40, 8, 0},
    {SM_NAME, K::edit, "", 54, 36, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Properties", 6, 56, 40, 8, 0},
    {SM_PROPS, K::edit, "", 54, 54, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Example property strings:", 10, 86, 88, 8, 0},
    {NO_ID, K::label, "$facing", 102, 76, 120, 8, 0},
    {NO_ID, K::label, "$fov=360.0,8.0,8.0", 102, 86, 120, 8, 0},
    {NO_ID, K::label, "$glow=.2,.2,1,1  (R,G,B,Amount?\?)", 102, 96, 128, 8, 0},
    {NO_ID, K::label, "$rotate=5  (turn time)", 102, 106, 120, 8, 0},
};

constexpr DialogTemplate templates[] = {
    {DIALOG_VIEW_SETTINGS, DialogKind::popup, "View Settings", 200, 0, 273, 212, "MS Sans Serif",
     10, view_settings_controls},
    {DIALOG_POINT_PAGE, DialogKind::child, "", 0, 0, 235, 103, "MS Sans Serif", 8,
     point_page_controls},
    {DIALOG_SPECIAL_PAGE, DialogKind::child, "", 0, 0, 235, 121, "MS Sans Serif", 8,
     special_page_controls},
    {DIALOG_EDIT_WINDOW, DialogKind::popup, "Edit Window", 300, 0, 273, 174, "MS Sans Serif", 8,
     edit_window_controls},
    {DIALOG_BATTERY_PAGE, DialogKind::child, "", 0, 0, 238, 124, "MS Sans Serif", 8,
     battery_controls},
    {DIALOG_SUBMODEL_PAGE, DialogKind::child, "", 0, 0, 234, 120, "MS Sans Serif", 8,
     submodel_controls},
};

constexpr const DialogTemplate* template_list[] = {&templates[0], &templates[1], &templates[2],
                                                   &templates[3], &templates[4], &templates[5]};

} // namespace

std::span<const MenuItemTemplate> main_menu() {
    return menu_101;
}

std::span<const int> checked_menu_commands() {
    return checked_commands;
}

const DialogTemplate* find_dialog_template(int id) {
    for (const DialogTemplate& t : templates)
        if (t.id == id)
            return &t;
    return nullptr;
}

std::span<const DialogTemplate* const> all_dialog_templates() {
    return template_list;
}
