// The polymodel (.oof) writer: the store as a version-2300 file.
#pragma once

#include <cstdint>
#include <vector>

// The file image of the store. Without memory for it the program prints "Not enough memory to
// allocate buffer" and ends with status 1.
std::vector<uint8_t> export_oof_bytes();

// Saves export_oof_bytes() to view.export_path. True when the file was written; on failure
// shows "Can't write the output file" and leaves any existing file and the store untouched.
bool export_oof();
