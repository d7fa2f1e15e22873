// The load, import and export commands and the dialogs' Refresh request, each returning the
// effects the window layer carries out afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "ui/file_dialogs.h"

// Load Oof (KIND_OOF) or Load Hog (KIND_HOG) through the open dialog.
uint32_t open_sequence(int kind);
// Next: the following polymodel of the archive, if any.
uint32_t next_polymodel();
// "Previous" from the menu, and the Refresh request of the dialogs with its three flags.
uint32_t refresh();
// Reads the shown model's file again, keeping the orientation and a manual zoom.
uint32_t reload();
// Import Cob/Scn (KIND_COB) or Orf (KIND_ORF) through the open dialog.
uint32_t import_sequence(int kind);
// Export Oof (KIND_OOF) or Orf (KIND_ORF) through the save dialog.
uint32_t export_sequence(int kind);

// The same sequences for a file already chosen in view.file_dialog_result.
uint32_t open_chosen(int kind);
uint32_t import_chosen(int kind);

// Opens a file named on the command line or dropped on the window as the matching menu
// command would: a polymodel or an archive (its first polymodel) by their magic, else by
// extension a room or a trueSpace file.
uint32_t open_path(const std::string& path);
