// The point-list page: refresh from the table, stepping, adding, deleting and editing records.
#include "ui/point_page.h"

#include <string>

#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/number_field.h"
#include "ui/page_fields.h"

namespace {

constexpr NumberField record_field{PT_NUMBER, PT_PLUS, PT_MINUS};
constexpr int value_fields[] = {PT_LOC_X, PT_LOC_Y, PT_LOC_Z, PT_DIR_X, PT_DIR_Y, PT_DIR_Z};

// The component a value field shows: location x, y, z, then direction x, y, z.
float& component(PointList& list, uint32_t record, int id) {
    int n = id - PT_LOC_X;
    Vec3& v = n < 3 ? list.location[record] : list.direction[record];
    return n % 3 == 0 ? v.x : n % 3 == 1 ? v.y : v.z;
}

std::string signed_number(uint32_t n) {
    return std::to_string(static_cast<int32_t>(n));
}

} // namespace

PointTable point_table(uint32_t tab) {
    switch (tab) {
    case 1:
        return {model.num_ground_points, model.ground_points};
    case 2:
        return {model.num_attach_points, model.attach_points};
    case 3:
        return {model.num_nath_points, model.nath_points};
    default:
        return {model.num_gun_points, model.gun_points};
    }
}

void PointPageProcedure::init(int) {
    // Unsigned: with an empty table N - 1 is the largest number and the index stays.
    if (view.cur_point > table_.count - 1)
        view.cur_point = 0;
    if (view.model_loaded && table_.count != 0)
        show_record();
    else
        show_empty();
}

void PointPageProcedure::show_record() {
    DialogControls& c = controls();
    uint32_t r = view.cur_point;
    show_field(c, PT_NUMBER, signed_number(r + 1));
    c.set_text(PT_COUNT, std::to_string(table_.count));
    for (int id : value_fields)
        show_field(c, id, six_decimals(component(table_.list, r, id)));
    show_field(c, PT_SUBMODEL, signed_number(table_.list.submodel[r] + 1));
}

void PointPageProcedure::show_empty() {
    DialogControls& c = controls();
    clear_field(c, PT_NUMBER);
    c.set_text(PT_COUNT, "0");
    for (int id : value_fields)
        clear_field(c, id);
    clear_field(c, PT_SUBMODEL);
}

void PointPageProcedure::command(int id, int notify) {
    if (id == PT_NUMBER || id == PT_PLUS || id == PT_MINUS) {
        if (auto chosen =
                choose_record(controls(), record_field, id, notify, table_.count, view.cur_point)) {
            view.cur_point = *chosen;
            request_selection();
        }
        return;
    }
    if (id == PT_ADD)
        return add_point();
    if (id == PT_DELETE)
        return delete_point();
    // Values are taken when their field loses the focus, and only for a record that exists.
    if (notify != NOTIFY_LOST_FOCUS || view.cur_point >= table_.count)
        return;
    if (id >= PT_LOC_X && id <= PT_DIR_Z)
        take_value(id);
    else if (id == PT_SUBMODEL)
        take_submodel();
}

// A new record at the end: at the origin, pointing along +Z, on subobject 0. The current
// record stays.
void PointPageProcedure::add_point() {
    if (table_.count >= MAX_PNT || !view.model_loaded)
        return;
    uint32_t n = table_.count++;
    table_.list.location[n] = {0, 0, 0};
    table_.list.direction[n] = {0, 0, 1};
    table_.list.submodel[n] = 0;
    request_selection();
}

// The later records move one place down; deleting the last selects the new last one.
void PointPageProcedure::delete_point() {
    if (table_.count == 0 || !view.model_loaded)
        return;
    PointList& list = table_.list;
    for (uint32_t i = view.cur_point + 1; i < table_.count; ++i) {
        list.submodel[i - 1] = list.submodel[i];
        list.location[i - 1] = list.location[i];
        list.direction[i - 1] = list.direction[i];
    }
    uint32_t left = --table_.count;
    if (left == 0)
        view.cur_point = 0;
    else if (view.cur_point > left - 1)
        view.cur_point = left - 1;
    request_selection();
}

void PointPageProcedure::take_value(int id) {
    component(table_.list, view.cur_point, id) = take_float_field(controls(), id);
    request_redraw();
}

// The typed number names a subobject from 1; 0, negatives and numbers past the last choose the
// last. A model without subobjects keeps subobject 0.
void PointPageProcedure::take_submodel() {
    uint32_t submodel = static_cast<uint32_t>(typed_number(controls(), PT_SUBMODEL)) - 1;
    if (model.num_subobjects == 0)
        submodel = 0;
    else if (submodel > model.num_subobjects - 1)
        submodel = model.num_subobjects - 1;
    table_.list.submodel[view.cur_point] = submodel;
    controls().set_text(PT_SUBMODEL, signed_number(submodel + 1));
    request_redraw();
}
