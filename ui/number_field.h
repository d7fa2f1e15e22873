// The record-number field of the dialogs: a digits-only edit holding the current index + 1,
// with a "+" and a "-" button. One rule for every list the dialogs step through.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/platform/dialog_controls.h"

// The field's text read as a decimal integer (leading blanks and sign, then digits; none give
// 0), as every digits-only field is read: up to 9 characters.
int32_t typed_number(const DialogControls& controls, int id);

struct NumberField {
    int field, plus, minus; // control IDs
};

// Applies the rule to the command (id, notify) for a list of count records whose current
// index is index. Returns the newly chosen index, or nothing when the command leaves the
// selection as it is: not the field's lost focus nor a button, an empty list, or the number
// shown already (then the field is only rewritten, "007" becoming "7"). The typed number is
// stepped by the buttons; 0 becomes 1 and, compared unsigned, anything above the count (a
// negative number too) becomes the count. No wrap-around.
std::optional<uint32_t> choose_record(DialogControls& controls, const NumberField& f, int id,
                                      int notify, uint32_t count, uint32_t index);
