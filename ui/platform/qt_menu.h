// Builds a menu bar from a menu template; each command item triggers a callback with its ID.
#pragma once

#include <QAction>
#include <QMenuBar>
#include <functional>
#include <map>
#include <span>

#include "ui/platform/dialog_template.h"

// Fills bar with the template's items in order; returns the action of every command ID.
// Command items with checkable IDs show check marks when set.
std::map<int, QAction*> build_menu_bar(QMenuBar* bar, std::span<const MenuItemTemplate> items,
                                       std::span<const int> checkable_ids,
                                       const std::function<void(int)>& on_command);
