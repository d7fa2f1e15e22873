// The room (.orf) writer: the store as a room file.
#pragma once

#include <cstdint>
#include <vector>

// The file image of the store. Without memory for it the program ends with status 1.
std::vector<uint8_t> export_orf_bytes();

// Saves export_orf_bytes() to view.export_path. True when the file was written; on failure
// shows "Can't write the output file".
bool export_orf();
