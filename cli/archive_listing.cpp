// The loaded archive's directory with entry kinds.
#include "cli/archive_listing.h"

#include "archive/hog_index.h"

namespace {

void mark(std::vector<ListedEntry>& entries, const uint32_t* list, uint32_t count, EntryKind kind) {
    for (uint32_t i = 0; i < count; ++i)
        if (list[i] < entries.size())
            entries[list[i]].kind = kind;
}

} // namespace

std::vector<ListedEntry> list_entries() {
    std::vector<ListedEntry> entries;
    uint32_t count =
        hog.num_entries < uint32_t(MAX_HOG_ENTRIES) ? hog.num_entries : uint32_t(MAX_HOG_ENTRIES);
    for (uint32_t k = 0; k < count; ++k)
        entries.push_back({k, hog.entries[k].name, hog.entries[k].length, EntryKind::other});
    mark(entries, hog.oof_entries, hog.num_oof, EntryKind::polymodel);
    mark(entries, hog.ogf_entries, hog.num_ogf, EntryKind::texture);
    mark(entries, hog.oaf_entries, hog.num_oaf, EntryKind::animated_texture);
    return entries;
}

const char* kind_name(EntryKind kind) {
    switch (kind) {
    case EntryKind::polymodel:
        return "polymodel";
    case EntryKind::texture:
        return "texture";
    case EntryKind::animated_texture:
        return "animated texture";
    case EntryKind::other:
        break;
    }
    return "other";
}
