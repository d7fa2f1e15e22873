// The File menu's Import and Export commands: trueSpace and room files in, polymodel and room
// files out.
#include "archive/hog_index.h"
#include "formats/cob_reader.h"
#include "formats/model_properties.h"
#include "formats/oof_writer.h"
#include "formats/orf_reader.h"
#include "formats/orf_writer.h"
#include "render/texture_loader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/platform/dialog_controls.h"
#include "ui/status_text.h"

void MainWindow::import_sequence(int kind, void (*read)()) {
    view.file_dialog_result[0] = '\0';
    choose_open_file(this, kind);
    if (view.file_dialog_result[0] == '\0')
        return;
    if (!open_for_reading(view.file_dialog_result))
        return; // a file that cannot be read ends the command silently
    copy_bounded(view.import_path, sizeof view.import_path, view.file_dialog_result);
    follow_loaded_source();
    import_reader_ = read;
    put_back_start_rot();
    leave_archive_mode();
    view.cur_hog_oof = 0;
    view.model_loaded = 0;
    clear_model();
    read();
    prepare_model();
    update_info_item();
    if (view.show_textures)
        load_textures();
    view.zoom_locked = 0;
    notify_settings(INIT_FULL); // the Edit Window page keeps its values until touched
    project();
    rebuild();
    redraw();
}

void MainWindow::export_model(int kind, bool (*write)()) {
    view.file_dialog_result[0] = '\0';
    choose_save_file(this, kind);
    if (view.file_dialog_result[0] == '\0')
        return;
    copy_bounded(view.export_path, sizeof view.export_path, view.file_dialog_result);
    if (view.model_loaded)
        write(); // a failed write says so itself and changes nothing
}

void MainWindow::import_cob() {
    import_sequence(KIND_COB, load_cob);
}
void MainWindow::import_orf() {
    import_sequence(KIND_ORF, load_orf);
}
void MainWindow::export_oof() {
    export_model(KIND_OOF, ::export_oof);
}
void MainWindow::export_orf() {
    export_model(KIND_ORF, ::export_orf);
}
