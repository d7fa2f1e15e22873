// load_hog: reads a HOG2 directory and sorts its entries by extension.
#include "archive/hog_index.h"

#include <cstring>
#include <vector>

#include "state/byte_cursor.h"
#include "state/counts.h"
#include "state/file_io.h"
#include "state/messages.h"

HogIndex hog;

namespace {

// A header cut short is refused like a wrong magic rather than read as garbage.
void refuse_unless_archive(std::span<const uint8_t> image) {
    if (image.size() < HOG_HEADER_SIZE || std::memcmp(image.data(), "HOG2", 4) != 0)
        fatal_error("Bad hog file", -2);
}

uint32_t stated_count(std::span<const uint8_t> image) {
    ByteCursor cursor(image);
    cursor.skip(4);
    return cursor.u32();
}

void read_directory(std::span<const uint8_t> records, uint32_t count, uint64_t data_offset) {
    ByteCursor cursor(records);
    uint64_t running = data_offset;
    for (uint32_t k = 0; k < count; ++k) {
        if (k == MAX_HOG_ENTRIES)
            fatal_error("hog files > 4500", 0);
        if (!cursor.has(HOG_RECORD_SIZE))
            fatal_error("Bad hog file", -2);
        HogEntry& entry = hog.entries[k];
        cursor.string_field(entry.name, HOG_NAME_LEN);
        cursor.skip(4);
        entry.length = cursor.u32();
        cursor.skip(4);
        entry.offset = running;
        running += entry.length;
    }
}

// The text from the last '.' of name, or nullptr when it has none.
const char* extension(const char* name) {
    return std::strrchr(name, '.');
}

void append_if(const char* ext, const char* wanted, uint32_t* list, uint32_t& count, uint32_t k) {
    if (equal_ignoring_case(ext, wanted))
        list[count++] = k;
}

void sort_into_lists() {
    hog.num_oaf = hog.num_ogf = hog.num_oof = 0;
    for (uint32_t k = 0; k < hog.num_entries; ++k) {
        const char* ext = extension(hog.entries[k].name);
        if (!ext)
            continue;
        append_if(ext, ".ogf", hog.ogf_entries, hog.num_ogf, k);
        append_if(ext, ".oof", hog.oof_entries, hog.num_oof, k);
        append_if(ext, ".oaf", hog.oaf_entries, hog.num_oaf, k);
    }
}

} // namespace

void load_hog() {
    FileHandle file = open_for_reading(hog.hog_path);
    if (!file)
        fatal_error("Can't open the hog file", -2);
    // The header first, then the directory it announces; never the entries' data.
    std::vector<uint8_t> header = read_bytes(file.get(), 0, HOG_HEADER_SIZE);
    refuse_unless_archive(header);
    uint32_t readable = clamp_count(stated_count(header), MAX_HOG_ENTRIES);
    load_hog_bytes(read_bytes(file.get(), 0, HOG_HEADER_SIZE + size_t(readable) * HOG_RECORD_SIZE));
}

void load_hog_bytes(std::span<const uint8_t> image) {
    refuse_unless_archive(image);
    ByteCursor cursor(image);
    cursor.skip(4);
    uint32_t count = cursor.u32();
    uint32_t data_offset = cursor.u32();
    hog.num_entries = clamp_count(count, MAX_HOG_ENTRIES);
    read_directory(image.subspan(HOG_HEADER_SIZE), count, data_offset);
    sort_into_lists();
}

void leave_archive_mode() {
    hog.num_entries = 0;
    hog.num_oof = 0;
    hog.num_ogf = 0;
    hog.num_oaf = 0;
}

const HogEntry* find_hog_texture(const uint32_t* list, uint32_t count, const char* name) {
    for (uint32_t i = 0; i < count; ++i) {
        const HogEntry& entry = hog.entries[list[i]];
        if (equal_ignoring_case(entry.name, name))
            return &entry;
    }
    return nullptr;
}
