// Saving an export image to the file the user chose.
#pragma once

#include <cstdint>
#include <vector>

// Writes image to view.export_path with write_file_replacing. Refused (false, nothing changed)
// when that names the loaded archive, which the program still reads entries from.
bool save_export(const std::vector<uint8_t>& image);
