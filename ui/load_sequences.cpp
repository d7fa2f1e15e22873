// Loading, stepping, reloading, importing and exporting: the store is filled here, the GL work
// is left to the effects.
#include "ui/load_sequences.h"

#include <cstdio>
#include <cstring>

#include "archive/hog_index.h"
#include "formats/cob_reader.h"
#include "formats/model_properties.h"
#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "formats/orf_reader.h"
#include "formats/orf_writer.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/commands.h"
#include "ui/status_text.h"

namespace {

// The reader of the shown model when it was imported, for Reload; nullptr for a polymodel.
void (*import_reader)() = nullptr;

constexpr uint32_t load_effects(uint32_t notify) {
    return notify | effect_notify_page | effect_project | effect_rebuild | effect_redraw;
}

uint32_t texture_effect() {
    return view.show_textures ? effect_load_textures : effect_none;
}

void put_back_start_rot() {
    view.rot_x = START_ROT;
    view.rot_y = START_ROT;
}

// The chosen file of an open dialog, or false after a cancel or a file that cannot be read
// (both end the command silently).
bool choose_readable_file(int kind) {
    view.file_dialog_result[0] = '\0';
    choose_open_file(kind);
    return view.file_dialog_result[0] != '\0' && open_for_reading(view.file_dialog_result);
}

} // namespace

void forget_import_reader() {
    import_reader = nullptr;
}

uint32_t open_sequence(int kind) {
    return choose_readable_file(kind) ? open_chosen(kind) : effect_none;
}

// Load Oof or Load Hog of the file in view.file_dialog_result.
uint32_t open_chosen(int kind) {
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
            return effect_none;
        }
    }
    follow_loaded_source();
    import_reader = nullptr;
    put_back_start_rot();
    view.cur_hog_oof = 0;
    view.model_loaded = 0;
    load_oof(0);
    view.zoom_locked = 0;
    return texture_effect() | load_effects(effect_notify_full);
}

uint32_t next_polymodel() {
    if (hog.num_oof == 0 || !view.model_loaded || view.cur_hog_oof + 1 >= hog.num_oof)
        return effect_none;
    put_back_start_rot();
    ++view.cur_hog_oof;
    load_oof(view.cur_hog_oof);
    view.zoom_locked = 0;
    return texture_effect() | load_effects(effect_notify_keep_list);
}

uint32_t refresh() {
    bool requested = view.refresh_only || view.selection_changed || view.hog_pick_pending;
    if (!view.model_loaded || !(hog.num_oof != 0 || requested) ||
        !(view.cur_hog_oof > 0 || requested)) {
        // A request that finds nothing to act on is dropped; left set, it would turn the next
        // plain "Previous" into a mere refresh.
        view.refresh_only = 0;
        view.selection_changed = 0;
        view.hog_pick_pending = 0;
        return effect_none;
    }
    bool reloads = !view.refresh_only && !view.selection_changed;
    if (reloads && !view.hog_pick_pending)
        --view.cur_hog_oof;
    view.hog_pick_pending = 0;
    if (reloads) {
        put_back_start_rot();
        view.zoom_locked = 0;
        load_oof(view.cur_hog_oof);
    }
    view.selection_changed = 0;
    uint32_t effects = effect_project | effect_rebuild | effect_redraw;
    if (!view.refresh_only)
        effects |= texture_effect() | effect_notify_keep_list | effect_notify_page;
    view.refresh_only = 0;
    return effects;
}

uint32_t reload() {
    if (!view.model_loaded)
        return effect_none;
    if (import_reader) {
        view.model_loaded = 0;
        clear_model();
        import_reader();
        prepare_model();
    } else {
        // After an archive without polymodels the shown model is not in the loaded archive;
        // its list position would name no entry and end the program.
        if (hog.num_entries != 0 && view.cur_hog_oof >= hog.num_oof)
            return effect_none;
        load_oof(view.cur_hog_oof);
    }
    return texture_effect() | effect_project | effect_rebuild | effect_redraw;
}

uint32_t import_sequence(int kind) {
    return choose_readable_file(kind) ? import_chosen(kind) : effect_none;
}

// Import Cob/Scn or Orf of the file in view.file_dialog_result.
uint32_t import_chosen(int kind) {
    copy_bounded(view.import_path, sizeof view.import_path, view.file_dialog_result);
    follow_loaded_source();
    import_reader = kind == KIND_COB ? load_cob : load_orf;
    put_back_start_rot();
    leave_archive_mode();
    view.cur_hog_oof = 0;
    view.model_loaded = 0;
    clear_model();
    import_reader();
    prepare_model();
    view.zoom_locked = 0;
    // The Edit Window page keeps its values until touched.
    return texture_effect() | effect_notify_full | effect_project | effect_rebuild | effect_redraw;
}

uint32_t export_sequence(int kind) {
    view.file_dialog_result[0] = '\0';
    choose_save_file(kind);
    if (view.file_dialog_result[0] == '\0')
        return effect_none;
    copy_bounded(view.export_path, sizeof view.export_path, view.file_dialog_result);
    if (view.model_loaded)
        kind == KIND_OOF ? export_oof() : export_orf(); // a failed write says so itself
    return effect_none;
}

namespace {

bool has_extension(const std::string& path, const char* extension) {
    std::string_view name = last_path_part(path);
    size_t dot = name.rfind('.');
    return dot != std::string_view::npos && equal_ignoring_case(name.substr(dot + 1), extension);
}

// The kind of a file: by its first bytes where the format has a magic, else by extension;
// anything else is offered to the polymodel reader, whose message then says what is wrong.
int kind_of(const std::string& path) {
    char magic[4] = {};
    if (FileHandle file = open_for_reading(path))
        if (std::fread(magic, 1, sizeof magic, file.get()) == sizeof magic) {
            if (std::memcmp(magic, "PSPO", 4) == 0)
                return KIND_OOF;
            if (std::memcmp(magic, "HOG2", 4) == 0)
                return KIND_HOG;
        }
    if (has_extension(path, "hog"))
        return KIND_HOG;
    if (has_extension(path, "cob") || has_extension(path, "scn"))
        return KIND_COB;
    if (has_extension(path, "orf"))
        return KIND_ORF;
    return KIND_OOF;
}

} // namespace

uint32_t open_path(const std::string& path) {
    if (path.empty() || path.size() >= sizeof view.file_dialog_result)
        return effect_none;
    copy_bounded(view.file_dialog_result, sizeof view.file_dialog_result, path);
    if (!open_for_reading(view.file_dialog_result))
        return effect_none; // as from the menu: a file that cannot be read is passed over
    enter_folder_of_chosen_file();
    int kind = kind_of(view.file_dialog_result);
    return kind == KIND_OOF || kind == KIND_HOG ? open_chosen(kind) : import_chosen(kind);
}
