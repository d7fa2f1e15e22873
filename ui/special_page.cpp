// The special-point page: refresh from the table, stepping, adding, deleting and editing records.
#include "ui/special_page.h"

#include <cstring>
#include <string>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/number_field.h"
#include "ui/page_fields.h"

namespace {

constexpr NumberField record_field{SP_NUMBER, SP_PLUS, SP_MINUS};
constexpr int text_fields[] = {SP_NAME, SP_PROPS};
constexpr int number_fields[] = {SP_LOC_X, SP_LOC_Y, SP_LOC_Z, SP_RADIUS};

SpecialPoint& points = model.special_points;

float& number_of(uint32_t record, int id) {
    Vec3& v = points.location[record];
    switch (id) {
    case SP_LOC_X:
        return v.x;
    case SP_LOC_Y:
        return v.y;
    case SP_LOC_Z:
        return v.z;
    default:
        return points.radius[record];
    }
}

char* text_of(uint32_t record, int id) {
    return id == SP_NAME ? points.name[record] : points.properties[record];
}

std::string stored_text(const char* text) {
    return std::string(text, strnlen(text, SPECIAL_STRING_LEN));
}

} // namespace

void SpecialPageProcedure::init(int) {
    uint32_t count = model.num_special_points;
    // Unsigned: with an empty table N - 1 is the largest number and the index stays.
    if (view.cur_special > count - 1)
        view.cur_special = 0;
    if (view.model_loaded && count != 0)
        show_record();
    else
        show_empty();
}

void SpecialPageProcedure::show_record() {
    DialogControls& c = controls();
    uint32_t r = view.cur_special;
    show_field(c, SP_NUMBER, std::to_string(static_cast<int32_t>(r + 1)));
    c.set_text(SP_COUNT, std::to_string(model.num_special_points));
    for (int id : text_fields)
        show_field(c, id, stored_text(text_of(r, id)));
    for (int id : number_fields)
        show_field(c, id, six_decimals(number_of(r, id)));
}

void SpecialPageProcedure::show_empty() {
    DialogControls& c = controls();
    clear_field(c, SP_NUMBER);
    c.set_text(SP_COUNT, "0");
    for (int id : text_fields)
        clear_field(c, id);
    for (int id : number_fields)
        clear_field(c, id);
}

void SpecialPageProcedure::command(int id, int notify) {
    if (id == SP_NUMBER || id == SP_PLUS || id == SP_MINUS) {
        if (auto chosen = choose_record(controls(), record_field, id, notify,
                                        model.num_special_points, view.cur_special)) {
            view.cur_special = *chosen;
            request_selection();
        }
        return;
    }
    if (id == SP_ADD)
        return add_point();
    if (id == SP_DELETE)
        return delete_point();
    // Values are taken when their field loses the focus, and only for a record that exists.
    if (notify == NOTIFY_LOST_FOCUS && view.cur_special < model.num_special_points)
        take_field(id);
}

// A new record at the end: no name, no properties, at the origin, radius 0. The current
// record stays.
void SpecialPageProcedure::add_point() {
    if (model.num_special_points >= MAX_PNT || !view.model_loaded)
        return;
    uint32_t n = model.num_special_points++;
    points.name[n][0] = '\0';
    points.properties[n][0] = '\0';
    points.location[n] = {0, 0, 0};
    points.radius[n] = 0;
    request_selection();
}

// The later records move one place down; deleting the last selects the new last one.
void SpecialPageProcedure::delete_point() {
    uint32_t& count = model.num_special_points;
    if (count == 0 || !view.model_loaded)
        return;
    for (uint32_t i = view.cur_special + 1; i < count; ++i) {
        std::memcpy(points.name[i - 1], points.name[i], SPECIAL_STRING_LEN);
        std::memcpy(points.properties[i - 1], points.properties[i], SPECIAL_STRING_LEN);
        points.location[i - 1] = points.location[i];
        points.radius[i - 1] = points.radius[i];
    }
    uint32_t left = --count;
    if (left == 0)
        view.cur_special = 0;
    else if (view.cur_special > left - 1)
        view.cur_special = left - 1;
    request_selection();
}

// Name and properties are stored without a request (nothing shows them in the view); the
// location moves the marker, the radius only changes the store.
void SpecialPageProcedure::take_field(int id) {
    uint32_t r = view.cur_special;
    switch (id) {
    case SP_NAME:
    case SP_PROPS:
        return take_text_field(controls(), id, text_of(r, id), SPECIAL_STRING_LEN);
    case SP_LOC_X:
    case SP_LOC_Y:
    case SP_LOC_Z:
        number_of(r, id) = take_float_field(controls(), id);
        return request_redraw();
    case SP_RADIUS:
        number_of(r, id) = take_float_field(controls(), id);
        return;
    default:
        return;
    }
}
