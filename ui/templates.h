// Menu 101 and dialog templates 107, 114, 115, 116, 117 and 118.
#pragma once

#include <span>

#include "ui/platform/dialog_template.h"

constexpr int MENU_MAIN = 101;
constexpr int DIALOG_VIEW_SETTINGS = 107;
constexpr int DIALOG_POINT_PAGE = 114;
constexpr int DIALOG_SPECIAL_PAGE = 115;
constexpr int DIALOG_EDIT_WINDOW = 116;
constexpr int DIALOG_BATTERY_PAGE = 117;
constexpr int DIALOG_SUBMODEL_PAGE = 118;

// Menu command IDs.
constexpr int CMD_LOAD_OOF = 40001;
constexpr int CMD_LOAD_HOG = 40003;
constexpr int CMD_EXIT = 40004;
constexpr int CMD_NEXT = 40005;
constexpr int CMD_PREVIOUS = 40006; // also the dialogs' Refresh request
constexpr int CMD_REFRESH = CMD_PREVIOUS;
constexpr int CMD_RIGHT = 40008;
constexpr int CMD_LEFT = 40009;
constexpr int CMD_UP = 40010;
constexpr int CMD_DOWN = 40011;
constexpr int CMD_LINE_POLY = 40012;
constexpr int CMD_SIZE2POLY = 40013;
constexpr int CMD_CULL_FACE = 40014;
constexpr int CMD_COLOR = 40015;
constexpr int CMD_RED = 40016;
constexpr int CMD_GREEN = 40017;
constexpr int CMD_BLUE = 40018;
constexpr int CMD_ABOUT = 40019;
constexpr int CMD_POLYMODEL_INFO = 40020;
constexpr int CMD_RELOAD = 40021;
constexpr int CMD_VIEW_SETTINGS = 40023;
constexpr int CMD_IMPORT_COB = 40024;
constexpr int CMD_IMPORT_ORF = 40025;
constexpr int CMD_EXPORT_OOF = 40026;
constexpr int CMD_EXPORT_ORF = 40027;
constexpr int CMD_SMOOTH = 40028;
constexpr int CMD_EDIT_WINDOW = 40033;

std::span<const MenuItemTemplate> main_menu();
// The menu commands that carry a check mark.
std::span<const int> checked_menu_commands();

// The template with that ID, or nullptr.
const DialogTemplate* find_dialog_template(int id);
std::span<const DialogTemplate* const> all_dialog_templates();
