// Translation of a room's texture names into the game's texture names.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "formats/orf_texture_map.h"

// The first row of table whose orf_name equals name ignoring ASCII case, or nullptr.
const OrfTextureRow* find_orf_texture_row(std::span<const OrfTextureRow> table,
                                          std::string_view name);

// The game name of a room texture: the matching row's game_name in orf_texture_map, otherwise
// the name without its folders ('\' and '/' both separate) and without its last extension.
std::string orf_game_texture_name(std::string_view room_name);
