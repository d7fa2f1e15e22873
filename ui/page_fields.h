// The value fields and requests shared by the Edit Window pages: a typed value is converted,
// stored and shown back when its field loses the focus.
#pragma once

#include <cstddef>
#include <string>

#include "ui/platform/dialog_controls.h"

// The standard decimal conversion of a field's text: optional blanks and sign, digits with an
// optional fraction and exponent; no number gives 0. Up to 9 characters are read.
double typed_decimal(const DialogControls& controls, int id);

// A number as the fields show it: six decimals, always with a point.
std::string six_decimals(double value);

// Reads a floating-point field, shows the number back with six decimals and returns what the
// store keeps: the number as a 32-bit float, beyond the float range the largest of its sign.
float take_float_field(DialogControls& controls, int id);

// Copies up to 44 bytes of a text field into dest, terminated; a character is never cut.
void take_text_field(const DialogControls& controls, int id, char* dest, size_t size);

// Shows text in a field and enables it, or empties and disables it.
void show_field(DialogControls& controls, int id, const std::string& text);
void clear_field(DialogControls& controls, int id);

// Requests to the main window: reselect (refreshes the dialogs and redraws) or only redraw.
void request_selection();
void request_redraw();
