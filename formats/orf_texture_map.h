// The room texture-name table: room texture names and the game texture names they stand for.
#pragma once

#include <span>

constexpr int ORF_TEXTURE_NAME_LEN = 36; // both columns: NUL-padded, at most 35 characters

struct OrfTextureRow {
    char orf_name[ORF_TEXTURE_NAME_LEN];
    char game_name[ORF_TEXTURE_NAME_LEN];
};

// Rows in lookup order; the first row whose orf_name matches (ignoring ASCII case) wins.
extern const std::span<const OrfTextureRow> orf_texture_map;
