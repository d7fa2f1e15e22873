// The main window's menu commands as plain functions over the store and the view state: each
// returns the effects the window layer carries out afterwards (textures, dialog refreshes,
// projection, rebuild, redraw).
#pragma once

#include <cstdint>

#include "ui/effects.h"

// Runs a menu command by ID; IDs without a command do nothing.
uint32_t run_command(int id);

// The check mark of a checkable menu command for the current state.
bool menu_checked(int id);

// Sends the open dialogs the init-dialog codes that the effects ask for.
void notify_dialogs(uint32_t effects);

// Forgets the reader of an imported model (a new main window starts with none).
void forget_import_reader();
