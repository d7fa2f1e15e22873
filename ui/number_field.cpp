// The record-number rule shared by the View Settings window and the Edit Window pages.
#include "ui/number_field.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int FIELD_CHARS = 9; // the field is read up to this many characters

} // namespace

int32_t typed_number(const DialogControls& controls, int id) {
    std::string text = controls.text(id, FIELD_CHARS);
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

std::optional<uint32_t> choose_record(DialogControls& controls, const NumberField& f, int id,
                                      int notify, uint32_t count, uint32_t index) {
    int32_t n = typed_number(controls, f.field);
    bool from_field = id == f.field && notify == NOTIFY_LOST_FOCUS;
    if (!from_field && id != f.plus && id != f.minus)
        return std::nullopt;
    if (count == 0)
        return std::nullopt;
    int32_t k = id == f.plus ? n + 1 : id == f.minus ? n - 1 : n;
    if (static_cast<uint32_t>(k) == index + 1) {
        controls.set_text(f.field, std::to_string(k));
        return std::nullopt;
    }
    uint32_t chosen = k == 0 ? 1 : static_cast<uint32_t>(k);
    if (chosen > count)
        chosen = count;
    return chosen - 1;
}
