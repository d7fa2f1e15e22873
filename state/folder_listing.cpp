// find_ignoring_case: a folder listed once into a table keyed by the lower-case names, kept while
// a FolderListingScope is open, and reused by later scopes while the folder is unchanged.
#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>
#include <vector>

#include "state/file_io.h"
#include "state/paths.h"

namespace {

// Every name of a folder, each ended by '\0', and (hash of its lower-case form, its offset),
// sorted by hash; names of one hash stay in listing order.
struct Listing {
    std::string names;
    std::vector<std::pair<uint64_t, uint32_t>> index;
};

using ListingPtr = std::shared_ptr<const Listing>;

int open_scopes = 0;
std::unordered_map<std::string, ListingPtr> listings; // by folder path, while a scope is open

// A listing kept for the next scopes (stepping through an archive loads textures again and
// again in the same folder), with the folder's modification time and the clock before reading.
struct KeptListing {
    ListingPtr listing;
    timespec folder_changed;
    timespec listed_at;
};
constexpr size_t MAX_KEPT_FOLDERS = 8;
std::map<std::pair<dev_t, ino_t>, KeptListing> kept; // by folder identity, not by path

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

bool same_time(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A change to the folder after the listing gives it a newer time, unless the change falls in
// the clock tick the listing started in; so a listing is reused only when the folder had last
// changed more than a second before it was read.
bool still_current(const KeptListing& k, const struct stat& folder) {
    return same_time(k.folder_changed, folder.st_mtim) &&
           k.listed_at.tv_sec - k.folder_changed.tv_sec >= 2;
}

ListingPtr current_listing(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return std::make_shared<const Listing>(list_folder(folder));
    std::pair key{st.st_dev, st.st_ino};
    auto at = kept.find(key);
    if (at != kept.end() && still_current(at->second, st))
        return at->second.listing;
    timespec listed_at;
    clock_gettime(CLOCK_REALTIME, &listed_at);
    auto listing = std::make_shared<const Listing>(list_folder(folder));
    if (kept.size() >= MAX_KEPT_FOLDERS && at == kept.end())
        kept.clear();
    kept[key] = {listing, st.st_mtim, listed_at};
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
    std::string_view in_folder = folder_part(path);
    std::string folder = in_folder.empty() ? "." : std::string(in_folder);
    std::string name(name_part(path));
    std::string found;
    if (open_scopes == 0) {
        found = look_up(*current_listing(folder), folder, name);
    } else {
        auto [at, added] = listings.try_emplace(folder);
        if (added)
            at->second = current_listing(folder);
        found = look_up(*at->second, folder, name);
    }
    if (found.empty())
        return "";
    return in_folder.empty() ? found : join_path(folder, found);
}
