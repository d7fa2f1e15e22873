// The open and save dialogs of the load, import and export commands.
#include "ui/file_dialogs.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "state/file_io.h"
#include "state/messages.h"
#include "state/view_state.h"

namespace fs = std::filesystem;

namespace {

constexpr FileFilter ALL_FILES{"All Files (*.*)", "*.*"};
constexpr FileFilter filters[4][2] = {
    {{"Oof file", "*.oof"}, ALL_FILES},
    {{"Hog file", "*.hog"}, ALL_FILES},
    {{"Truspace file", "*.cob;*.scn"}, ALL_FILES},
    {{"Orf file", "*.orf"}, ALL_FILES},
};

// The dialog library's code for a name too long for the caller's buffer.
constexpr int ERROR_BUFFER_TOO_SMALL = 12291;

FilePicker* current_picker = nullptr;

void choose(FileDialogMode mode, int kind) {
    if (!current_picker)
        return; // no dialogs: as a cancel
    const char* title = mode == FileDialogMode::open ? "Open File" : "Select Output File";
    std::string path = current_picker->pick(mode, title, file_filters(kind));
    if (path.size() >= sizeof view.file_dialog_result) {
        view.file_dialog_result[0] = '\0';
        char text[64];
        std::snprintf(text, sizeof text, "GetOpenFileName returned Error #%ld",
                      static_cast<long>(ERROR_BUFFER_TOO_SMALL));
        message_box("WARNING", text, BoxIcon::error);
    } else {
        copy_bounded(view.file_dialog_result, sizeof view.file_dialog_result, path);
        if (!path.empty())
            enter_folder_of_chosen_file();
    }
}

} // namespace

void install_file_picker(FilePicker* picker) {
    current_picker = picker;
}

std::span<const FileFilter> file_filters(int kind) {
    if (kind < KIND_OOF || kind > KIND_ORF)
        return {&ALL_FILES, 1};
    return filters[kind - 1];
}

void enter_folder_of_chosen_file() {
    std::error_code error;
    fs::path chosen = fs::absolute(view.file_dialog_result, error).lexically_normal();
    std::string absolute = chosen.string();
    if (error || absolute.size() >= sizeof view.file_dialog_result)
        return;
    fs::current_path(chosen.parent_path(), error);
    if (!error)
        copy_bounded(view.file_dialog_result, sizeof view.file_dialog_result, absolute);
}

void choose_open_file(int kind) {
    choose(FileDialogMode::open, kind);
}

void choose_save_file(int kind) {
    choose(FileDialogMode::save, kind);
}
