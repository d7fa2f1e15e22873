// The weapon battery page: the member boxes show the current battery, each click rewrites
// that battery's list from the boxes; stepping, adding and deleting go through the main
// window's refresh, which refreshes this page.
#include "ui/battery_page.h"

#include <algorithm>
#include <array>
#include <string>

#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/main_window_link.h"
#include "ui/number_field.h"
#include "ui/templates.h"

namespace {

template <uint32_t N> constexpr std::array<int, N> box_ids(int first) {
    std::array<int, N> ids{};
    for (uint32_t i = 0; i < N; ++i)
        ids[i] = first + static_cast<int>(i);
    return ids;
}

// Position i of the gun points and of the subobjects to the ID of its check box.
constexpr std::array<int, MAX_PNT> gun_boxes = box_ids<MAX_PNT>(WB_FIRST_GUN);
constexpr std::array<int, TURRET_BOXES> turret_boxes = box_ids<TURRET_BOXES>(WB_FIRST_TURRET);

constexpr NumberField battery_number{WB_NUMBER, WB_PLUS, WB_MINUS};

// One member list of a battery with the page's flags and boxes for it.
struct Members {
    bool* flags;
    const int* boxes;
    uint32_t size;
    uint32_t& count;
    uint32_t* list;
};

uint32_t battery_count() {
    return std::min<uint32_t>(model.num_batteries, MAX_PNT);
}

uint32_t battery_slot() {
    return std::min<uint32_t>(view.cur_battery, MAX_PNT - 1);
}

bool gun_usable(uint32_t i) {
    return i < model.num_gun_points;
}

// Only a subobject with a field of view can turn toward a target.
bool turret_usable(uint32_t i) {
    return i < model.num_subobjects && model.sobj_fov[i];
}

Members gun_members(bool* flags) {
    uint32_t b = battery_slot();
    return {flags, gun_boxes.data(), MAX_PNT, model.batteries.num_guns[b], model.batteries.guns[b]};
}

Members turret_members(bool* flags) {
    uint32_t b = battery_slot();
    return {flags, turret_boxes.data(), TURRET_BOXES, model.batteries.num_turrets[b],
            model.batteries.turrets[b]};
}

void request_selection() {
    view.selection_changed = 1;
    send_main_command(CMD_REFRESH);
}

template <size_t N> int box_of(const std::array<int, N>& boxes, int id) {
    auto it = std::find(boxes.begin(), boxes.end(), id);
    return it == boxes.end() ? -1 : static_cast<int>(it - boxes.begin());
}

// Entries without a box are shown nowhere and drop out at the next rebuild.
void show(DialogControls& c, const Members& m, bool (*usable)(uint32_t)) {
    bool any = model.num_batteries != 0;
    std::fill_n(m.flags, m.size, false);
    for (uint32_t i = 0; i < m.size; ++i) {
        c.check(m.boxes[i], false);
        c.enable(m.boxes[i], any && usable(i));
    }
    if (!any)
        return;
    for (uint32_t e = 0; e < std::min<uint32_t>(m.count, MAX_PNT); ++e)
        if (m.list[e] < m.size)
            m.flags[m.list[e]] = true;
    for (uint32_t i = 0; i < m.size; ++i)
        c.check(m.boxes[i], m.flags[i]);
}

// A click inverts the box's flag and rewrites the list in rising order. The list holds at
// most MAX_PNT entries: a click that would add one more leaves the box unchecked.
void click(DialogControls& c, const Members& m, uint32_t box) {
    bool adding = !m.flags[box];
    bool full = std::count(m.flags, m.flags + m.size, true) >= MAX_PNT;
    if (model.num_batteries == 0 || (adding && full)) {
        c.check(m.boxes[box], m.flags[box]);
        return;
    }
    m.flags[box] = adding;
    c.check(m.boxes[box], adding);
    m.count = 0;
    for (uint32_t i = 0; i < m.size; ++i)
        if (m.flags[i])
            m.list[m.count++] = i;
}

void add_battery() {
    if (model.num_batteries >= MAX_PNT || !view.model_loaded)
        return;
    uint32_t b = model.num_batteries++;
    model.batteries.num_guns[b] = 0;
    model.batteries.num_turrets[b] = 0;
    request_selection();
}

// Battery from + 1 takes the place of battery from, as a whole record.
void move_down(uint32_t to) {
    WeaponBattery& w = model.batteries;
    uint32_t from = to + 1;
    w.num_guns[to] = w.num_guns[from];
    std::copy_n(w.guns[from], std::min<uint32_t>(w.num_guns[from], MAX_PNT), w.guns[to]);
    w.num_turrets[to] = w.num_turrets[from];
    std::copy_n(w.turrets[from], std::min<uint32_t>(w.num_turrets[from], MAX_PNT), w.turrets[to]);
}

void delete_battery() {
    if (model.num_batteries == 0 || !view.model_loaded)
        return;
    uint32_t count = battery_count();
    for (uint32_t b = view.cur_battery; b < count && b + 1 < count; ++b)
        move_down(b);
    model.num_batteries = count - 1;
    if (model.num_batteries == 0)
        view.cur_battery = 0;
    else if (view.cur_battery > model.num_batteries - 1)
        view.cur_battery = model.num_batteries - 1;
    request_selection();
}

} // namespace

void BatteryPageProcedure::init(int) {
    if (view.cur_battery > model.num_batteries - 1) // unsigned: no batteries keeps it
        view.cur_battery = 0;
    show(controls(), gun_members(gun_checked), gun_usable);
    show(controls(), turret_members(turret_checked), turret_usable);
    bool shown = view.model_loaded && model.num_batteries != 0;
    controls().set_text(WB_NUMBER, shown ? std::to_string(view.cur_battery + 1) : "");
    controls().enable(WB_NUMBER, shown);
    controls().set_text(WB_COUNT, std::to_string(shown ? model.num_batteries : 0));
}

void BatteryPageProcedure::command(int id, int notify) {
    if (int box = box_of(gun_boxes, id); box >= 0)
        return click(controls(), gun_members(gun_checked), static_cast<uint32_t>(box));
    if (int box = box_of(turret_boxes, id); box >= 0)
        return click(controls(), turret_members(turret_checked), static_cast<uint32_t>(box));
    if (id == WB_ADD)
        return add_battery();
    if (id == WB_DELETE)
        return delete_battery();
    if (auto chosen = choose_record(controls(), battery_number, id, notify, battery_count(),
                                    view.cur_battery)) {
        view.cur_battery = *chosen;
        request_selection();
    }
}
