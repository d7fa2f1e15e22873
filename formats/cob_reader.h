// The trueSpace (.cob/.scn) importer: reads view.import_path and converts it into the store.
#pragma once

#include <cstdint>
#include <span>

// Reads the binary trueSpace file named by view.import_path into the import tables, converts
// them into the store and sets view.model_loaded. Bad files end the program with a message.
void load_cob();

// The same for a file image already in memory (load_cob's work after reading the file).
void load_cob_bytes(std::span<const uint8_t> bytes);

// Fills the store from the import tables (used vertices only, groups as subobjects).
void convert_cob();
