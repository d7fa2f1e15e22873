// The load, import and export commands and the dialogs' Refresh request, each returning the
// effects the window layer carries out afterwards.
#pragma once

#include <cstdint>

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
