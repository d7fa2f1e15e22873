// Window descriptions as data: menu items and dialog templates with their controls, in the
// numbers and dialog units of a resource script.
#pragma once

#include <cstdint>
#include <span>

enum class ControlKind { label, group_box, push_button, check_box, edit, combo_box, tab_control };

// Style flags of a control, combinable.
enum ControlStyle : uint32_t {
    style_none = 0,
    style_border = 1u << 0,
    style_auto_hscroll = 1u << 1,
    style_digits_only = 1u << 2,
    style_multi_line = 1u << 3,
    style_right_align = 1u << 4,
    style_tab_stop = 1u << 5,
    style_vscroll = 1u << 6,
};

constexpr int NO_ID = -1; // labels and group boxes that nobody addresses

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, w, h; // dialog units
    uint32_t style;
};

enum class DialogKind {
    popup, // a window of its own with caption and system menu
    child  // a captionless page inside another dialog
};

struct DialogTemplate {
    int id;
    DialogKind kind;
    const char* caption;
    int x, y, w, h; // dialog units
    const char* font_face;
    int font_points;
    std::span<const ControlTemplate> controls;
};

enum class MenuKind { popup, command, separator };

// One row of a menu resource; depth 0 rows sit on the menu bar itself.
struct MenuItemTemplate {
    int depth;
    MenuKind kind;
    int id; // command ID; 0 for pop-ups and separators
    const char* text;
    bool right_aligned = false;
};
