// The polymodel (.oof) reader: fills the store from a loose file or an archive entry.
#pragma once

#include <cstdint>
#include <span>

// Reads polymodel list position `position` of the loaded archive, or the loose file named by
// view.oof_path when no archive is loaded; clears the store first and prepares it after.
// Bad files end the program with a message.
void load_oof(uint32_t position);

// The same for a file image in memory, from its magic on.
void load_oof_bytes(std::span<const uint8_t> bytes);
