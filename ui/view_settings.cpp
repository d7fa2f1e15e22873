// The View Settings procedure: refreshes from the store, the archive index, the texture slots
// and the view state; writes the user's choices straight back and asks the main window to
// redraw, to reselect or to load through Refresh.
#include "ui/view_settings.h"

#include <algorithm>
#include <string>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/main_window_link.h"
#include "ui/number_field.h"
#include "ui/templates.h"

namespace {

enum class Request { redraw, selection, load };

void send(Request request) {
    if (request == Request::redraw)
        view.refresh_only = 1;
    else if (request == Request::selection)
        view.selection_changed = 1;
    else
        view.hog_pick_pending = 1;
    send_main_command(CMD_REFRESH);
}

std::string number(uint32_t n) {
    return std::to_string(n);
}

const char* archive_entry_name(uint32_t position) {
    if (position >= MAX_HOG_ENTRIES)
        return "";
    uint32_t entry = hog.oof_entries[position];
    return entry < std::min<uint32_t>(hog.num_entries, MAX_HOG_ENTRIES) ? hog.entries[entry].name
                                                                        : "";
}

uint32_t sobj_slot() {
    return std::min<uint32_t>(view.cur_sobj, MAX_SOBJ - 1);
}

uint32_t texture_slot() {
    return std::min<uint32_t>(view.cur_texture, MAX_TEXTURE - 1);
}

uint32_t keyframe_slot() {
    return std::min<uint32_t>(view.cur_keyframe, MAX_ANI - 1);
}

void highlight_only(int32_t* table, int size, uint32_t index, int32_t on) {
    std::fill_n(table, size, 0);
    table[index] = on;
}

// The four "+"/"-" groups with the count and index each steps through.
struct Group {
    NumberField field;
    uint32_t (*count)();
    uint32_t* index;
};

const Group groups[] = {
    {{VS_HOG_NUMBER, VS_HOG_PLUS, VS_HOG_MINUS}, [] { return hog.num_oof; }, &view.cur_hog_oof},
    {{VS_SOBJ_NUMBER, VS_SOBJ_PLUS, VS_SOBJ_MINUS},
     [] { return std::min<uint32_t>(model.num_subobjects, MAX_SOBJ); },
     &view.cur_sobj},
    {{VS_TEXTURE_NUMBER, VS_TEXTURE_PLUS, VS_TEXTURE_MINUS},
     [] { return std::min<uint32_t>(model.num_textures, MAX_TEXTURE); },
     &view.cur_texture},
    {{VS_KEY_NUMBER, VS_KEY_PLUS, VS_KEY_MINUS},
     [] { return std::min<uint32_t>(model.num_used_frames, MAX_ANI); },
     &view.cur_keyframe},
};

// The group's action on its new index, then its request.
void apply_group(const Group& g, uint32_t chosen) {
    *g.index = chosen;
    if (g.index == &view.cur_hog_oof)
        return send(Request::load);
    if (g.index == &view.cur_sobj)
        highlight_only(view.sobj_highlight, MAX_SOBJ, sobj_slot(), view.highlight_sobj);
    else if (g.index == &view.cur_texture)
        highlight_only(view.texture_highlight, MAX_TEXTURE, texture_slot(), view.highlight_texture);
    send(Request::selection);
}

// The switches the check boxes invert.
struct SwitchFlag {
    int id;
    int32_t* flag;
};

const SwitchFlag switch_flags[] = {
    {VS_ROTATE, &view.rotate_on},
    {VS_FACING, &view.facing_on},
    {VS_POSITIONS, &view.positions_on},
    {VS_GLOW, &view.glow_on},
    {VS_FLAT_COLORS, &view.flat_colors},
    {VS_HIGHLIGHT_SOBJ, &view.highlight_sobj},
    {VS_HIGHLIGHT_TEXTURE, &view.highlight_texture},
};

int32_t* switch_flag(int id) {
    for (const SwitchFlag& s : switch_flags)
        if (s.id == id)
            return s.flag;
    return nullptr;
}

} // namespace

void ViewSettingsProcedure::init(int code) {
    view.view_settings_window = &window();
    if (code == INIT_KEYFRAME_ONLY && view.model_loaded)
        show_current_keyframe();
    if (code != INIT_FULL && code != INIT_KEEP_LIST)
        return;
    show_switches();
    if (!view.model_loaded)
        return show_nothing_loaded();
    show_archive(code);
    controls().set_text(VS_TOTAL_POLYS, number(model.num_polygons));
    controls().set_text(VS_TOTAL_VERTS, number(model.num_vertices));
    show_subobject();
    show_texture();
    show_keyframe_count();
}

void ViewSettingsProcedure::show_switches() {
    DialogControls& c = controls();
    c.check(VS_ROTATE, view.rotate_on);
    c.check(VS_FACING, view.facing_on);
    c.check(VS_POSITIONS, view.positions_on);
    c.check(VS_GLOW, view.glow_on);
    c.check(VS_FLAT_COLORS, view.flat_colors);
    c.check(VS_HIGHLIGHT_TEXTURE, view.texture_highlight[texture_slot()]);
    c.check(VS_HIGHLIGHT_SOBJ, view.highlight_sobj);
}

// Selection fields disabled, counts 0, names empty; 1020, 1021 and the disabled edits keep
// what they showed.
void ViewSettingsProcedure::show_nothing_loaded() {
    DialogControls& c = controls();
    c.set_text(VS_FILE_NAME, "-- No FIle Loaded --");
    c.set_text(VS_HOG_COUNT, "0");
    for (int id : {VS_HOG_LIST, VS_HOG_NUMBER, VS_SOBJ_NUMBER, VS_TEXTURE_NUMBER, VS_KEY_NUMBER})
        c.enable(id, false);
    for (int id : {VS_TOTAL_POLYS, VS_TOTAL_VERTS, VS_SOBJ_COUNT, VS_TEXTURE_COUNT, VS_KEY_COUNT})
        c.set_text(id, "0");
    for (int id : {VS_SOBJ_PROPS, VS_SOBJ_NAME, VS_TEXTURE_NAME, VS_TEXTURE_FILE, VS_KEY_FRAME})
        c.set_text(id, "");
}

void ViewSettingsProcedure::show_archive(int code) {
    DialogControls& c = controls();
    if (hog.num_entries == 0) { // a loose file or an import
        c.set_text(VS_FILE_NAME, view.oof_path);
        c.set_text(VS_HOG_COUNT, "1");
        c.clear_rows(VS_HOG_LIST);
        c.enable(VS_HOG_LIST, false);
        c.enable(VS_HOG_NUMBER, false);
        return;
    }
    c.set_text(VS_FILE_NAME, hog.hog_path);
    c.set_text(VS_HOG_COUNT, number(hog.num_oof));
    if (code == INIT_FULL) {
        c.clear_rows(VS_HOG_LIST);
        uint32_t rows = std::min<uint32_t>(hog.num_oof, MAX_HOG_ENTRIES);
        for (uint32_t p = 0; p < rows; ++p)
            c.add_row(VS_HOG_LIST, archive_entry_name(p));
    }
    c.select_row(VS_HOG_LIST, static_cast<int>(view.cur_hog_oof));
    c.enable(VS_HOG_LIST, true);
    c.set_text(VS_HOG_NUMBER, number(view.cur_hog_oof + 1));
    c.enable(VS_HOG_NUMBER, true);
}

void ViewSettingsProcedure::show_subobject() {
    DialogControls& c = controls();
    uint32_t s = sobj_slot();
    c.set_text(VS_SOBJ_NUMBER, number(view.cur_sobj + 1));
    c.enable(VS_SOBJ_NUMBER, true);
    c.set_text(VS_SOBJ_COUNT, number(model.num_subobjects));
    c.set_text(VS_SOBJ_PROPS, model.sobj_props[s]);
    c.set_text(VS_SOBJ_NAME, model.sobj_name[s]);
    c.set_text(VS_SOBJ_POLYS, number(model.sobj_num_polys[s]));
    c.set_text(VS_SOBJ_VERTS, number(model.sobj_num_verts[s]));
}

void ViewSettingsProcedure::show_texture() {
    DialogControls& c = controls();
    const TextureSlot& slot = model.textures[texture_slot()];
    c.set_text(VS_TEXTURE_NUMBER, number(view.cur_texture + 1));
    c.enable(VS_TEXTURE_NUMBER, true);
    c.set_text(VS_TEXTURE_COUNT, number(model.num_textures));
    c.set_text(VS_TEXTURE_NAME, slot.name);
    c.set_text(VS_TEXTURE_FILE, view.show_textures ? slot.loaded_file : "Not Loaded");
}

void ViewSettingsProcedure::show_keyframe_count() {
    DialogControls& c = controls();
    c.set_text(VS_KEY_COUNT, number(model.num_used_frames));
    if (model.num_used_frames != 0) {
        show_current_keyframe();
        c.enable(VS_KEY_NUMBER, true);
    } else {
        c.set_text(VS_KEY_NUMBER, "");
        c.enable(VS_KEY_NUMBER, false);
        c.set_text(VS_KEY_FRAME, "");
    }
}

void ViewSettingsProcedure::show_current_keyframe() {
    controls().set_text(VS_KEY_NUMBER, number(view.cur_keyframe + 1));
    controls().set_text(VS_KEY_FRAME, number(model.used_frames[keyframe_slot()]));
}

void ViewSettingsProcedure::command(int id, int notify) {
    if (step_group(id, notify))
        return;
    if (id == VS_HOG_LIST)
        return pick_archive_row();
    if (toggle_switch(id))
        send(Request::redraw);
}

bool ViewSettingsProcedure::step_group(int id, int notify) {
    for (const Group& g : groups) {
        if (id != g.field.field && id != g.field.plus && id != g.field.minus)
            continue;
        if (auto chosen = choose_record(controls(), g.field, id, notify, g.count(), *g.index))
            apply_group(g, *chosen);
        return true;
    }
    return false;
}

// A row chosen in the archive list loads that polymodel; the current row does nothing.
void ViewSettingsProcedure::pick_archive_row() {
    int row = controls().selected_row(VS_HOG_LIST);
    if (static_cast<uint32_t>(row) == view.cur_hog_oof || hog.num_oof == 0)
        return;
    view.cur_hog_oof = std::min(static_cast<uint32_t>(row), hog.num_oof - 1);
    send(Request::load);
}

// The check boxes: each click inverts its switch and shows the new value.
bool ViewSettingsProcedure::toggle_switch(int id) {
    int32_t* flag = switch_flag(id);
    if (!flag)
        return false;
    *flag = !*flag;
    controls().check(id, *flag);
    if (id == VS_ROTATE && view.rotate_on) {
        start_spin_timer();
        std::fill_n(view.spin_angle, std::min<uint32_t>(model.num_subobjects, MAX_SOBJ), 0.0f);
    } else if (id == VS_ROTATE) {
        kill_spin_timer();
    } else if (id == VS_HIGHLIGHT_SOBJ) {
        view.sobj_highlight[sobj_slot()] = *flag;
    } else if (id == VS_HIGHLIGHT_TEXTURE) {
        view.texture_highlight[texture_slot()] = *flag;
    }
    return true;
}

void ViewSettingsProcedure::close() {
    send_main_command(CMD_VIEW_SETTINGS);
}
