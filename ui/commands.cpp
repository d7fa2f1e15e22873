// The main window's menu commands: loads, stepping through an archive, the dialogs' Refresh
// request, display switches and the boxes of the Help menu.
#include <QAction>

#include "archive/hog_index.h"
#include "formats/model_properties.h"
#include "formats/oof_reader.h"
#include "render/texture_loader.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/platform/dialog_controls.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/view_input.h"

void MainWindow::command(int id) {
    switch (id) {
    case CMD_LOAD_OOF:
        return open_sequence(KIND_OOF);
    case CMD_LOAD_HOG:
        return open_sequence(KIND_HOG);
    case CMD_EXIT:
        close();
        return;
    case CMD_NEXT:
        return next_polymodel();
    case CMD_PREVIOUS:
        return refresh();
    case CMD_RIGHT:
        step_view(0, 5);
        return redraw();
    case CMD_LEFT:
        step_view(0, -5);
        return redraw();
    case CMD_UP:
        step_view(-5, 0);
        return redraw();
    case CMD_DOWN:
        step_view(5, 0);
        return redraw();
    case CMD_LINE_POLY:
        toggle_switch(id, view.fill_poly);
        project();
        return redraw();
    case CMD_SIZE2POLY:
        toggle_switch(id, view.size_to_poly);
        view.zoom_locked = 0;
        project();
        return redraw();
    case CMD_CULL_FACE:
        toggle_switch(id, view.cull_face);
        return redraw();
    case CMD_COLOR:
        return toggle_color();
    case CMD_RED:
        return toggle_background(id, view.bg_red, view.clear_red);
    case CMD_GREEN:
        return toggle_background(id, view.bg_green, view.clear_green);
    case CMD_BLUE:
        return toggle_background(id, view.bg_blue, view.clear_blue);
    case CMD_ABOUT:
        return message_box("About", about_text().c_str());
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
        toggle_switch(id, view.smooth);
        rebuild();
        return redraw();
    case CMD_IMPORT_COB:
        return import_cob();
    case CMD_IMPORT_ORF:
        return import_orf();
    case CMD_EXPORT_OOF:
        return export_oof();
    case CMD_EXPORT_ORF:
        return export_orf();
    default:
        return;
    }
}

void MainWindow::toggle_switch(int id, int32_t& flag) {
    flag = !flag;
    set_check(id, flag != 0);
}

void MainWindow::toggle_background(int id, int32_t& flag, float& component) {
    toggle_switch(id, flag);
    component = flag ? 1.0f : 0.0f;
    rebuild();
    redraw();
}

void MainWindow::toggle_color() {
    toggle_switch(CMD_COLOR, view.show_textures);
    if (view.show_textures)
        load_textures();
    else
        release_textures();
    notify_settings(INIT_KEEP_LIST);
    rebuild();
    redraw();
}

void MainWindow::open_sequence(int kind) {
    view.file_dialog_result[0] = '\0';
    choose_open_file(this, kind);
    if (view.file_dialog_result[0] == '\0')
        return;
    if (!open_for_reading(view.file_dialog_result))
        return; // a file that cannot be read ends the command silently
    if (kind == KIND_OOF) {
        copy_bounded(view.oof_path, sizeof view.oof_path, view.file_dialog_result);
        leave_archive_mode();
    } else {
        keep_shown_model_source();
        copy_bounded(hog.hog_path, sizeof hog.hog_path, view.file_dialog_result);
        hog.num_entries = 0;
        load_hog();
        if (hog.num_oof == 0) {
            // The model stays; the index already describes the new archive.
            message_box("Info", "This Hog has no Oof files");
            return;
        }
    }
    follow_loaded_source();
    import_reader_ = nullptr;
    put_back_start_rot();
    view.cur_hog_oof = 0;
    view.model_loaded = 0;
    load_oof(0);
    update_info_item();
    if (view.show_textures)
        load_textures();
    view.zoom_locked = 0;
    notify_settings(INIT_FULL);
    notify_page();
    project();
    rebuild();
    redraw();
}

void MainWindow::next_polymodel() {
    if (hog.num_oof == 0 || !view.model_loaded || view.cur_hog_oof + 1 >= hog.num_oof)
        return;
    put_back_start_rot();
    ++view.cur_hog_oof;
    load_oof(view.cur_hog_oof);
    update_info_item();
    if (view.show_textures)
        load_textures();
    view.zoom_locked = 0;
    notify_settings(INIT_KEEP_LIST);
    notify_page();
    project();
    rebuild();
    redraw();
}

// "Previous" from the menu, and the Refresh request of the dialogs with its three flags.
void MainWindow::refresh() {
    bool requested = view.refresh_only || view.selection_changed || view.hog_pick_pending;
    if (!view.model_loaded || !(hog.num_oof != 0 || requested) ||
        !(view.cur_hog_oof > 0 || requested)) {
        // A request that finds nothing to act on is dropped; left set, it would turn the next
        // plain "Previous" into a mere refresh.
        view.refresh_only = 0;
        view.selection_changed = 0;
        view.hog_pick_pending = 0;
        return;
    }
    bool reloads = !view.refresh_only && !view.selection_changed;
    if (reloads && !view.hog_pick_pending)
        --view.cur_hog_oof;
    view.hog_pick_pending = 0;
    if (reloads) {
        put_back_start_rot();
        view.zoom_locked = 0;
        load_oof(view.cur_hog_oof);
        update_info_item();
    }
    view.selection_changed = 0;
    if (!view.refresh_only) {
        if (view.show_textures)
            load_textures();
        notify_settings(INIT_KEEP_LIST);
        notify_page();
    }
    view.refresh_only = 0;
    project();
    rebuild();
    redraw();
}

// Reads the shown model's file again (the polymodel, or the file last imported), keeping the
// orientation and a manual zoom.
void MainWindow::reload() {
    if (!view.model_loaded)
        return;
    if (import_reader_) {
        view.model_loaded = 0;
        clear_model();
        import_reader_();
        prepare_model();
    } else {
        // After an archive without polymodels the shown model is not in the loaded archive;
        // its list position would name no entry and end the program.
        if (hog.num_entries != 0 && view.cur_hog_oof >= hog.num_oof)
            return;
        load_oof(view.cur_hog_oof);
    }
    update_info_item();
    if (view.show_textures)
        load_textures();
    project();
    rebuild();
    redraw();
}

void MainWindow::show_polymodel_info() {
    if (view.model_loaded)
        message_box("Oof Information", polymodel_info_text().c_str());
}
