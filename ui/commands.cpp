// Command dispatch, the display switches, the modeless windows and the Help boxes.
#include "ui/commands.h"

#include "state/messages.h"
#include "state/view_state.h"
#include "ui/edit_window.h"
#include "ui/load_sequences.h"
#include "ui/plain_dialog.h"
#include "ui/platform/dialog_controls.h"
#include "ui/platform/dialog_host.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/view_input.h"
#include "ui/view_settings.h"

namespace {

uint32_t toggle(int32_t& flag, uint32_t effects) {
    flag = !flag;
    return effects;
}

uint32_t toggle_background(int32_t& flag, float& component) {
    flag = !flag;
    component = flag ? 1.0f : 0.0f;
    return effect_rebuild | effect_redraw;
}

uint32_t toggle_color() {
    view.show_textures = !view.show_textures;
    return (view.show_textures ? effect_load_textures : effect_release_textures) |
           effect_notify_keep_list | effect_rebuild | effect_redraw;
}

void close_dialog(DialogWindow*& window) {
    if (!window)
        return;
    if (window == view.edit_window && view.edit_page_window) {
        // A page lives inside the Edit Window.
        dialog_host()->destroy(view.edit_page_window);
        view.edit_page_window = nullptr;
    }
    dialog_host()->destroy(window);
    window = nullptr;
}

std::unique_ptr<DialogProcedure> procedure_for(int template_id, int close_command) {
    if (template_id == DIALOG_EDIT_WINDOW)
        return std::make_unique<EditWindowProcedure>();
    if (template_id == DIALOG_VIEW_SETTINGS)
        return std::make_unique<ViewSettingsProcedure>();
    return std::make_unique<PlainDialogProcedure>(close_command);
}

uint32_t toggle_dialog(int id, int template_id, int32_t& open_flag, DialogWindow*& window) {
    open_flag = !open_flag;
    if (!dialog_host())
        return effect_none;
    close_dialog(window);
    if (open_flag)
        window = dialog_host()->open_window(template_id, procedure_for(template_id, id));
    return effect_none;
}

uint32_t show_polymodel_info() {
    if (view.model_loaded)
        message_box("Oof Information", polymodel_info_text().c_str());
    return effect_none;
}

} // namespace

uint32_t run_command(int id) {
    switch (id) {
    case CMD_LOAD_OOF:
        return open_sequence(KIND_OOF);
    case CMD_LOAD_HOG:
        return open_sequence(KIND_HOG);
    case CMD_EXIT:
        return effect_close;
    case CMD_NEXT:
        return next_polymodel();
    case CMD_PREVIOUS:
        return refresh();
    case CMD_RIGHT:
        step_view(0, 5);
        return effect_redraw;
    case CMD_LEFT:
        step_view(0, -5);
        return effect_redraw;
    case CMD_UP:
        step_view(-5, 0);
        return effect_redraw;
    case CMD_DOWN:
        step_view(5, 0);
        return effect_redraw;
    case CMD_LINE_POLY:
        return toggle(view.fill_poly, effect_project | effect_redraw);
    case CMD_SIZE2POLY:
        view.zoom_locked = 0;
        return toggle(view.size_to_poly, effect_project | effect_redraw);
    case CMD_CULL_FACE:
        return toggle(view.cull_face, effect_redraw);
    case CMD_COLOR:
        return toggle_color();
    case CMD_RED:
        return toggle_background(view.bg_red, view.clear_red);
    case CMD_GREEN:
        return toggle_background(view.bg_green, view.clear_green);
    case CMD_BLUE:
        return toggle_background(view.bg_blue, view.clear_blue);
    case CMD_ABOUT:
        message_box("About", about_text().c_str());
        return effect_none;
    case CMD_POLYMODEL_INFO:
        return show_polymodel_info();
    case CMD_RELOAD:
        return reload();
    case CMD_VIEW_SETTINGS:
        return toggle_dialog(id, DIALOG_VIEW_SETTINGS, view.view_settings_open,
                             view.view_settings_window);
    case CMD_EDIT_WINDOW:
        return toggle_dialog(id, DIALOG_EDIT_WINDOW, view.edit_window_open, view.edit_window);
    case CMD_SMOOTH:
        return toggle(view.smooth, effect_rebuild | effect_redraw);
    case CMD_IMPORT_COB:
        return import_sequence(KIND_COB);
    case CMD_IMPORT_ORF:
        return import_sequence(KIND_ORF);
    case CMD_EXPORT_OOF:
        return export_sequence(KIND_OOF);
    case CMD_EXPORT_ORF:
        return export_sequence(KIND_ORF);
    default:
        return effect_none;
    }
}

bool menu_checked(int id) {
    switch (id) {
    case CMD_LINE_POLY:
        return view.fill_poly;
    case CMD_SIZE2POLY:
        return view.size_to_poly;
    case CMD_CULL_FACE:
        return view.cull_face;
    case CMD_COLOR:
        return view.show_textures;
    case CMD_RED:
        return view.bg_red;
    case CMD_GREEN:
        return view.bg_green;
    case CMD_BLUE:
        return view.bg_blue;
    case CMD_VIEW_SETTINGS:
        return view.view_settings_open;
    case CMD_SMOOTH:
        return view.smooth;
    case CMD_EDIT_WINDOW:
        return view.edit_window_open;
    default:
        return false;
    }
}

void notify_dialogs(uint32_t effects) {
    if (view.view_settings_open && view.view_settings_window) {
        if (effects & effect_notify_full)
            view.view_settings_window->init(INIT_FULL);
        else if (effects & effect_notify_keep_list)
            view.view_settings_window->init(INIT_KEEP_LIST);
        else if (effects & effect_notify_keyframe)
            view.view_settings_window->init(INIT_KEYFRAME_ONLY);
    }
    if ((effects & effect_notify_page) && view.edit_window_open && view.edit_page_window)
        view.edit_page_window->init(INIT_FULL);
}
