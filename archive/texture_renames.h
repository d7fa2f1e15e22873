// The built-in table of texture files that models know under another name.
#pragma once

#include <string_view>

constexpr int TEXTURE_RENAME_NAME_LEN = 36;
constexpr int NUM_TEXTURE_RENAMES = 71;

struct TextureRename {
    char stored_name[TEXTURE_RENAME_NAME_LEN]; // the file that exists, NUL-padded
    char model_name[TEXTURE_RENAME_NAME_LEN];  // the name (with extension) models use
};

extern const TextureRename texture_renames[NUM_TEXTURE_RENAMES];

// The stored_name of the first row whose model_name equals file_name ignoring ASCII case,
// as a terminated string, or nullptr when no row matches.
const char* find_texture_rename(std::string_view file_name);
