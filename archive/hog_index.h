// The HOG2 archive index: the loaded archive's directory and its polymodel, still-texture
// and animated-texture lists.
#pragma once

#include <cstdint>
#include <span>

#include "state/view_state.h"

constexpr int MAX_HOG_ENTRIES = 4500;
constexpr int HOG_NAME_LEN = 36;
constexpr int HOG_HEADER_SIZE = 68;
constexpr int HOG_RECORD_SIZE = 48;

struct HogEntry {
    char name[HOG_NAME_LEN + 1]; // up to 36 characters; one spare byte keeps it terminated
    uint32_t length;
    uint64_t offset; // running sum of lengths from the data offset, so it never wraps
};

struct HogIndex {
    char hog_path[PATH_LEN];
    // The counts side by side, so that forgetting the archive touches one page of the index.
    uint32_t num_entries; // 0: no archive loaded
    uint32_t num_oof;
    uint32_t num_ogf;
    uint32_t num_oaf;
    HogEntry entries[MAX_HOG_ENTRIES];
    uint32_t oof_entries[MAX_HOG_ENTRIES]; // directory indices, in directory order
    uint32_t ogf_entries[MAX_HOG_ENTRIES];
    uint32_t oaf_entries[MAX_HOG_ENTRIES];
};

extern HogIndex hog;

// Reads the directory of the archive named by hog.hog_path into hog. Errors end the program.
void load_hog();

// The same for an archive image in memory: its start, at least up to the end of the directory.
// hog.hog_path is left as it is.
void load_hog_bytes(std::span<const uint8_t> image);

// Forgets the archive (loose files are used); hog_path keeps its text.
void leave_archive_mode();

// The first entry of a texture list whose whole name equals name ignoring case, or nullptr.
const HogEntry* find_hog_texture(const uint32_t* list, uint32_t count, const char* name);
