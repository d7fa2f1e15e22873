// Choosing the file of a load, import or export into view.file_dialog_result.
#pragma once

#include <span>

#include "ui/platform/file_picker.h"

constexpr int KIND_OOF = 1;
constexpr int KIND_HOG = 2;
constexpr int KIND_COB = 3;
constexpr int KIND_ORF = 4;

// The dialogs the commands use; with none installed every choice reads as a cancel.
void install_file_picker(FilePicker* picker);

// The kind's own filter followed by "All Files (*.*)".
std::span<const FileFilter> file_filters(int kind);

// Fill view.file_dialog_result with the chosen path; it stays empty on a cancel or when the
// path does not fit the buffer (reported in a "WARNING" box). A chosen file's folder becomes
// the working folder, as the system dialogs do.
void choose_open_file(int kind);
void choose_save_file(int kind);

// Makes view.file_dialog_result absolute and its folder the working folder, so that loose
// textures beside the chosen file are found and the path still names it. A path whose
// absolute form does not fit the buffer is left as it is.
void enter_folder_of_chosen_file();
