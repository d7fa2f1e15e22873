// The submodel page: steps through the subobjects moving the highlight, and writes the name
// and the property string of the current one straight into the store.
#include "ui/submodel_page.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/main_window_link.h"
#include "ui/number_field.h"
#include "ui/templates.h"

namespace {

constexpr int TEXT_CHARS = 44; // a typed name or property string is cut to this many bytes

constexpr NumberField sobj_number{SM_NUMBER, SM_PLUS, SM_MINUS};

uint32_t sobj_slot() {
    return std::min<uint32_t>(view.cur_sobj, MAX_SOBJ - 1);
}

uint32_t sobj_count() {
    return std::min<uint32_t>(model.num_subobjects, MAX_SOBJ);
}

void send(int32_t& request) {
    request = 1;
    send_main_command(CMD_REFRESH);
}

// Cut by bytes, not characters: a multi-byte character must not reach past the entry.
void copy_text(char* entry, const std::string& text) {
    size_t n = std::min<size_t>(text.size(), TEXT_CHARS);
    std::memcpy(entry, text.data(), n);
    entry[n] = '\0';
}

} // namespace

void SubmodelPageProcedure::init(int) {
    DialogControls& c = controls();
    c.check(SM_HIGHLIGHT, view.highlight_sobj);
    bool loaded = view.model_loaded != 0;
    uint32_t s = sobj_slot();
    c.set_text(SM_NUMBER, loaded ? std::to_string(view.cur_sobj + 1) : "");
    c.set_text(SM_COUNT, std::to_string(loaded ? model.num_subobjects : 0));
    c.set_text(SM_PROPS, loaded ? model.sobj_props[s] : "");
    c.set_text(SM_NAME, loaded ? model.sobj_name[s] : "");
    for (int id : {SM_NUMBER, SM_PROPS, SM_NAME})
        c.enable(id, loaded);
}

void SubmodelPageProcedure::command(int id, int notify) {
    if (id == SM_HIGHLIGHT)
        return toggle_highlight();
    if ((id == SM_NAME || id == SM_PROPS) && notify == NOTIFY_LOST_FOCUS)
        return store_text(id);
    if (auto chosen =
            choose_record(controls(), sobj_number, id, notify, sobj_count(), view.cur_sobj)) {
        std::fill_n(view.sobj_highlight, MAX_SOBJ, 0);
        view.cur_sobj = *chosen;
        view.sobj_highlight[sobj_slot()] = view.highlight_sobj;
        send(view.selection_changed);
    }
}

// The same switch as "Highlight Sobj" of the View Settings window.
void SubmodelPageProcedure::toggle_highlight() {
    view.highlight_sobj = !view.highlight_sobj;
    view.sobj_highlight[sobj_slot()] = view.highlight_sobj;
    controls().check(SM_HIGHLIGHT, view.highlight_sobj);
    send(view.refresh_only);
}

// A new name shows nowhere in the view; a new property string changes what the view draws.
void SubmodelPageProcedure::store_text(int id) {
    if (model.num_subobjects == 0)
        return;
    std::string text = controls().text(id, TEXT_CHARS);
    if (id == SM_NAME)
        return copy_text(model.sobj_name[sobj_slot()], text);
    copy_text(model.sobj_props[sobj_slot()], text);
    prepare_model();
    send(view.selection_changed);
}
