// The loaded archive's entries with their kinds, for info, list and extract.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class EntryKind { polymodel, texture, animated_texture, other };

struct ListedEntry {
    uint32_t index; // in the directory
    std::string name;
    uint32_t size;
    EntryKind kind;
};

// Every directory entry in directory order, kinds as the archive index sorted them.
std::vector<ListedEntry> list_entries();

// "polymodel", "texture", "animated texture" or "other".
const char* kind_name(EntryKind kind);
