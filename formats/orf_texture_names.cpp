// Room texture names: table lookup first, then the folder-and-extension rule.
#include "formats/orf_texture_names.h"

#include <cstring>

#include "state/file_io.h"

namespace {

std::string_view column(const char (&field)[ORF_TEXTURE_NAME_LEN]) {
    return {field, strnlen(field, ORF_TEXTURE_NAME_LEN)};
}

} // namespace

const OrfTextureRow* find_orf_texture_row(std::span<const OrfTextureRow> table,
                                          std::string_view name) {
    for (const OrfTextureRow& row : table) {
        if (equal_ignoring_case(column(row.orf_name), name))
            return &row;
    }
    return nullptr;
}

std::string orf_game_texture_name(std::string_view room_name) {
    if (const OrfTextureRow* row = find_orf_texture_row(orf_texture_map, room_name))
        return std::string(column(row->game_name));
    std::string_view base = last_path_part(room_name);
    return std::string(base.substr(0, base.rfind('.')));
}
