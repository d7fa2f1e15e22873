// Menu 101 and the dialog templates as constant tables, in the style of a resource script.
#include "ui/templates.h"

#include <array>

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
    {2, M::command, 40024, "Cob/Scn"},
    {2, M::command, 40025, "Orf"},
    {1, M::popup, 0, "Export"},
    {2, M::command, 40026, "Oof"},
    {2, M::command, 40027, "Orf"},
    {1, M::separator, 0, nullptr},
    {1, M::command, 40001, "Load Oof"},
    {1, M::command, 40003, "Load Hog"},
    {1, M::separator, 0, nullptr},
    {1, M::command, 40004, "Exit"},
    {0, M::popup, 0, "View"},
    {1, M::command, 40005, "Next"},
    {1, M::command, 40006, "Previous"},
    {1, M::separator, 0, nullptr},
    {1, M::separator, 0, nullptr},
    {1, M::command, 40008, "Right"},
    {1, M::command, 40009, "Left"},
    {1, M::command, 40010, "Up"},
    {1, M::command, 40011, "Down"},
    {0, M::popup, 0, "Options"},
    {1, M::command, 40023, "View Settings"},
    {1, M::separator, 0, nullptr},
    {1, M::command, 40012, "Line Poly"},
    {1, M::command, 40013, "Size2Poly"},
    {1, M::command, 40014, "Cull Face"},
    {1, M::command, 40015, "Color"},
    {1, M::command, 40028, "Smooth"},
    {1, M::popup, 0, "Background"},
    {2, M::command, 40016, "Red"},
    {2, M::command, 40017, "Green"},
    {2, M::command, 40018, "Blue"},
    {0, M::popup, 0, "Tool"},
    {1, M::command, 40033, "Edit Window"},
    {0, M::popup, 0, "Help"},
    {1, M::command, 40019, "About"},
    {1, M::command, 40020, "Polymodel Info"},
    {0, M::command, 40021, "Reload", true},
};

constexpr int checked_commands[] = {40012, 40013, 40014, 40015, 40016,
                                    40017, 40018, 40023, 40028, 40033};

constexpr ControlTemplate view_settings_controls[] = {
    {NO_ID, K::group_box, "Hog/Oof", 52, 2, 218, 44, 0},
    {NO_ID, K::group_box, "Submodel", 52, 52, 218, 56, 0},
    {NO_ID, K::group_box, "Texture", 52, 114, 218, 56, 0},
    {NO_ID, K::group_box, "Positions", 52, 176, 218, 32, 0},
    {1004, K::label, "DIrectory & Hog/Oof Name ***** ***** ***** *****", 60, 12, 145, 8, 0},
    {NO_ID, K::label, "Total Oof =", 210, 12, 36, 8, 0},
    {1002, K::label, "Hnum", 246, 12, 20, 8, 0},
    {NO_ID, K::label, "Hog Oof List", 76, 28, 42, 8, 0},
    {1000, K::combo_box, "", 120, 26, 108, 111, style_vscroll | style_tab_stop},
    {1003, K::edit, "", 230, 26, 21, 12, NUMBER_EDIT},
    {1009, K::push_button, "+", 254, 22, 8, 10, STEP},
    {1010, K::push_button, "-", 254, 32, 8, 10, STEP},
    {1006, K::check_box, "$Rotate", 4, 66, 40, 10, CHECK},
    {1005, K::check_box, "$Facing", 4, 92, 40, 10, CHECK},
    {1028, K::check_box, "Flat Colors", 4, 122, 44, 10, CHECK},
    {NO_ID, K::label, "(doors/glows)", 4, 134, 46, 8, 0},
    {1012, K::check_box, "$Glow", 4, 148, 35, 10, CHECK},
    {NO_ID, K::label, "(not done yet)", 2, 160, 48, 8, 0},
    {1011, K::check_box, "Positions", 4, 190, 44, 10, CHECK},
    {NO_ID, K::label, "SOBJ", 82, 66, 18, 8, 0},
    {1007, K::edit, "", 104, 64, 14, 12, NUMBER_EDIT},
    {1016, K::push_button, "+", 122, 60, 8, 10, STEP},
    {1017, K::push_button, "-", 122, 70, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 66, 9, 8, 0},
    {1008, K::label, "Snum", 144, 66, 20, 9, 0},
    {NO_ID, K::label, "Name", 62, 84, 20, 8, 0},
    {1019, K::label, "Name", 98, 84, 88, 8, 0},
    {NO_ID, K::label, "Properties", 62, 96, 34, 8, 0},
    {1018, K::label, "Prop", 98, 96, 88, 8, 0},
    {NO_ID, K::label, "Polygons", 190, 82, 30, 8, 0},
    {1020, K::label, "poly", 224, 82, 14, 8, 0},
    {NO_ID, K::label, "Vertices", 190, 96, 28, 8, 0},
    {1021, K::label, "vert", 224, 96, 12, 8, 0},
    {NO_ID, K::label, "Of", 238, 82, 9, 8, 0},
    {1024, K::label, "poly", 250, 82, 14, 8, 0},
    {NO_ID, K::label, "Of", 238, 96, 9, 8, 0},
    {1025, K::label, "vert", 250, 96, 14, 8, 0},
    {1013, K::check_box, "Highlight Sobj", 184, 68, 58, 10, CHECK},
    {NO_ID, K::label, "TXTR", 82, 128, 18, 8, 0},
    {1015, K::edit, "", 104, 126, 14, 12, NUMBER_EDIT},
    {1022, K::push_button, "+", 122, 122, 8, 10, STEP},
    {1023, K::push_button, "-", 122, 132, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 128, 9, 8, 0},
    {1026, K::label, "Tnum", 144, 128, 20, 9, 0},
    {NO_ID, K::label, "Name", 62, 146, 20, 8, 0},
    {1027, K::label, "Name", 98, 146, 142, 8, 0},
    {NO_ID, K::label, "FileName", 62, 158, 32, 8, 0},
    {1029, K::label, "Loadname", 98, 158, 142, 8, 0},
    {1014, K::check_box, "Highlight Texture", 184, 126, 66, 10, CHECK},
    {NO_ID, K::label, "KeyFrame", 68, 190, 34, 8, 0},
    {1030, K::edit, "", 104, 188, 14, 12, NUMBER_EDIT},
    {1031, K::push_button, "+", 122, 184, 8, 10, STEP},
    {1032, K::push_button, "-", 122, 194, 8, 10, STEP},
    {NO_ID, K::label, "Of", 134, 190, 9, 8, 0},
    {1033, K::label, "Knum", 144, 190, 20, 9, 0},
    {NO_ID, K::label, "Frame #", 182, 190, 26, 8, 0},
    {1034, K::label, "Fnum", 210, 190, 18, 8, 0},
};

constexpr ControlTemplate point_page_controls[] = {
    {1096, K::edit, "", 24, 9, 19, 15, PAGE_NUMBER},
    {1097, K::push_button, "+", 48, 4, 11, 12, STEP},
    {1098, K::push_button, "-", 48, 16, 11, 12, STEP},
    {NO_ID, K::label, "Of", 64, 12, 10, 8, 0},
    {1099, K::label, "totnum", 78, 12, 27, 11, 0},
    {1100, K::push_button, "Add Point", 131, 4, 80, 12, BUTTON},
    {1101, K::push_button, "Delete Current Point", 131, 20, 80, 12, BUTTON},
    {NO_ID, K::label, "Location", 18, 46, 40, 8, 0},
    {1102, K::edit, "", 66, 44, 34, 14, PAGE_VALUE},
    {1103, K::edit, "", 102, 44, 34, 14, PAGE_VALUE},
    {1104, K::edit, "", 138, 44, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Direction", 18, 64, 40, 8, 0},
    {1105, K::edit, "", 66, 62, 34, 14, PAGE_VALUE},
    {1106, K::edit, "", 102, 62, 34, 14, PAGE_VALUE},
    {1107, K::edit, "", 138, 62, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Submodel", 18, 82, 40, 8, 0},
    {1108, K::edit, "", 66, 80, 34, 14, PAGE_NUMBER | style_right_align},
};

constexpr ControlTemplate special_page_controls[] = {
    {1057, K::edit, "", 24, 9, 19, 15, PAGE_NUMBER},
    {1058, K::push_button, "+", 48, 4, 11, 12, STEP},
    {1059, K::push_button, "-", 48, 17, 11, 12, STEP},
    {NO_ID, K::label, "Of", 64, 12, 10, 8, 0},
    {1060, K::label, "Spnum", 78, 12, 27, 11, 0},
    {1069, K::push_button, "Add Point", 131, 4, 80, 12, BUTTON},
    {1070, K::push_button, "Delete Current Point", 131, 20, 80, 12, BUTTON},
    {NO_ID, K::label, "Name", 12, 49, 36, 8, 0},
    {1062, K::edit, "", 52, 46, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Properties", 12, 66, 36, 8, 0},
    {1063, K::edit, "", 52, 65, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Location", 12, 86, 36, 8, 0},
    {1064, K::edit, "", 52, 84, 34, 14, PAGE_VALUE},
    {1065, K::edit, "", 88, 84, 34, 14, PAGE_VALUE},
    {1066, K::edit, "", 124, 84, 34, 14, PAGE_VALUE},
    {NO_ID, K::label, "Radius?", 12, 105, 36, 8, 0},
    {1068, K::edit, "", 52, 102, 34, 14, PAGE_NUMBER | style_right_align},
};

constexpr ControlTemplate edit_window_controls[] = {
    {1109, K::tab_control, "Tab1", 6, 4, 258, 148, style_tab_stop},
    {1110, K::check_box, "Show Location", 184, 158, 63, 10, CHECK},
    {1111, K::check_box, "Show All Points", 110, 158, 65, 10, CHECK},
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
    c[n++] = {1112, K::edit, "", 6, 19, 19, 15, PAGE_NUMBER};
    c[n++] = {1113, K::push_button, "+", 30, 14, 11, 12, STEP};
    c[n++] = {1114, K::push_button, "-", 30, 26, 11, 12, STEP};
    c[n++] = {NO_ID, K::label, "Of", 46, 22, 10, 8, 0};
    c[n++] = {1115, K::label, "totnum", 60, 22, 27, 11, 0};
    c[n++] = {1116, K::push_button, "Add Battery", 6, 52, 80, 12, BUTTON};
    c[n++] = {1117, K::push_button, "Delete Current Battery", 6, 68, 80, 12, BUTTON};
    for (int i = 0; i < 10; ++i)
        c[n++] = {1118 + i, K::check_box, numbers[i], 98, 16 + 10 * i, i == 9 ? 24 : 20, 10, CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {1128 + i,       K::check_box,     numbers[i], 148,
                  turret_rows[i], i == 9 ? 24 : 20, 10,         CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {1138 + i, K::check_box, numbers[10 + i], 174, turret_rows[i], 24, 10, CHECK};
    for (int i = 0; i < 10; ++i)
        c[n++] = {1148 + i, K::check_box, numbers[20 + i], 200, turret_rows[i], 24, 10, CHECK};
    return c;
}
constexpr auto battery_controls = make_battery_controls();

constexpr ControlTemplate submodel_controls[] = {
    {1037, K::check_box, "Highlight Sobj", 144, 12, 77, 12, CHECK},
    {1039, K::edit, "", 37, 11, 19, 15, PAGE_NUMBER},
    {1040, K::push_button, "+", 61, 6, 11, 12, STEP},
    {1041, K::push_button, "-", 61, 18, 11, 12, STEP},
    {NO_ID, K::label, "Of", 77, 14, 10, 8, 0},
    {1038, K::label, "Snum", 91, 14, 27, 11, 0},
    {NO_ID, K::label, "Name", 6, 38, 40, 8, 0},
    {1042, K::edit, "", 54, 36, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Properties", 6, 56, 40, 8, 0},
    {1043, K::edit, "", 54, 54, 172, 14, PAGE_EDIT},
    {NO_ID, K::label, "Example property strings:", 10, 86, 88, 8, 0},
    {NO_ID, K::label, "$facing", 102, 76, 120, 8, 0},
    {NO_ID, K::label, "$fov=360.0,8.0,8.0", 102, 86, 120, 8, 0},
    {NO_ID, K::label, "$glow=.2,.2,1,1  (R,G,B,Amount?\?)", 102, 96, 128, 8, 0},
    {NO_ID, K::label, "$rotate=5  (turn time)", 102, 106, 120, 8, 0},
};

constexpr DialogTemplate templates[] = {
    {107, DialogKind::popup, "View Settings", 200, 0, 273, 212, "MS Sans Serif", 10,
     view_settings_controls},
    {114, DialogKind::child, "", 0, 0, 235, 103, "MS Sans Serif", 8, point_page_controls},
    {115, DialogKind::child, "", 0, 0, 235, 121, "MS Sans Serif", 8, special_page_controls},
    {116, DialogKind::popup, "Edit Window", 300, 0, 273, 174, "MS Sans Serif", 8,
     edit_window_controls},
    {117, DialogKind::child, "", 0, 0, 238, 124, "MS Sans Serif", 8, battery_controls},
    {118, DialogKind::child, "", 0, 0, 234, 120, "MS Sans Serif", 8, submodel_controls},
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
