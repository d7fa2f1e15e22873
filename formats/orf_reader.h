// The room (.orf) reader: fills the store as one centred subobject.
#pragma once

#include <cstdint>
#include <span>

// Reads the room file named by view.import_path. Bad files end the program with a message.
void load_orf();

// The same for a file image in memory.
void load_orf_bytes(std::span<const uint8_t> bytes);
