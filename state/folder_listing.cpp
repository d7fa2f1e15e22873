// find_ignoring_case: a folder listed once into a table keyed by the lower-case names, kept while
// a FolderListingScope is open.
#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>
#include <vector>

#include "state/file_io.h"

namespace fs = std::filesystem;

namespace {

// Every name of a folder, each ended by '\0', and (hash of its lower-case form, its offset),
// sorted by hash; names of one hash stay in listing order.
struct Listing {
    std::string names;
    std::vector<std::pair<uint64_t, uint32_t>> index;
};

int open_scopes = 0;
std::unordered_map<std::string, Listing> listings; // by folder, while a scope is open

uint64_t lower_case_hash(std::string_view name) {
    uint64_t hash = 14695981039346656037u;
    for (char c : name)
        hash = (hash ^ uint8_t(lower_ascii(c))) * 1099511628211u;
    return hash;
}

Listing list_folder(const std::string& folder) {
    Listing listing;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return listing;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        listing.index.push_back({lower_case_hash(name), uint32_t(listing.names.size())});
        listing.names.append(name);
        listing.names.push_back('\0');
    }
    ::closedir(dir);
    std::sort(listing.index.begin(), listing.index.end());
    return listing;
}

// The first listed name equal to name ignoring case that is a regular file, or "".
std::string look_up(const Listing& listing, const std::string& folder, const std::string& name) {
    uint64_t hash = lower_case_hash(name);
    auto at = std::lower_bound(listing.index.begin(), listing.index.end(), std::pair{hash, 0u});
    for (; at != listing.index.end() && at->first == hash; ++at) {
        const char* candidate = listing.names.c_str() + at->second;
        struct stat st;
        if (equal_ignoring_case(candidate, name) &&
            ::stat((folder + '/' + candidate).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return candidate;
    }
    return "";
}

} // namespace

FolderListingScope::FolderListingScope() {
    ++open_scopes;
}

FolderListingScope::~FolderListingScope() {
    if (--open_scopes == 0)
        listings.clear();
}

std::string find_ignoring_case(const std::string& path) {
    fs::path wanted(path);
    std::string folder = wanted.has_parent_path() ? wanted.parent_path().string() : ".";
    std::string name = wanted.filename().string();
    std::string found;
    if (open_scopes == 0) {
        found = look_up(list_folder(folder), folder, name);
    } else {
        auto [at, added] = listings.try_emplace(folder);
        if (added)
            at->second = list_folder(folder);
        found = look_up(at->second, folder, name);
    }
    if (found.empty())
        return "";
    return wanted.has_parent_path() ? (fs::path(folder) / found).string() : found;
}
