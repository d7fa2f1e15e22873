// Loose-file access: RAII stdio handles, bounded reads into memory, case-insensitive lookup of
// names that come from a case-insensitive file system, and replace-on-success writes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Largest file or archive entry a reader takes into memory: far above any real model, room or
// scene, far below what the machine holds.
constexpr uint64_t MAX_READ_SIZE = uint64_t(256) << 20;

// Opens path for binary reading if it names a regular file; a missing name is looked up
// ignoring case in its folder. Never waits: a pipe, device, folder or socket is not opened.
FileHandle open_for_reading(const std::string& path);

// The size of an open file in bytes.
uint64_t file_size(std::FILE* file);

// Reads up to max_bytes from offset; fewer when the file ends first, none on a bad offset or
// when memory cannot hold them.
std::vector<uint8_t> read_bytes(std::FILE* file, uint64_t offset, size_t max_bytes);

// A reader's check of the first bytes of a file; it ends the program for a file of another kind.
using HeaderCheck = void (*)(std::span<const uint8_t> header);

// Largest header a HeaderCheck is given.
constexpr size_t MAX_CHECKED_HEADER = 64;

// Reads the image of length bytes at offset (fewer when the file ends first) into bytes, in one
// buffer sized from what the file holds. When check is given, the first header_size bytes (at
// most MAX_CHECKED_HEADER; fewer when the image is shorter) are read and checked before
// anything more. False, with nothing past the header read, when length is above MAX_READ_SIZE
// or memory cannot hold the bytes.
bool read_file_image(std::FILE* file, uint64_t offset, uint64_t length, size_t header_size,
                     HeaderCheck check, std::vector<uint8_t>& bytes);

// The regular file whose name equals path's last part ignoring ASCII case, or "" if none.
std::string find_ignoring_case(const std::string& path);

// While one exists, find_ignoring_case lists each folder at most once and answers from that
// listing, so a loop of lookups (up to four names a texture) costs one listing. The names are
// those of the scope's start; the kind of a match is checked when it is asked for. Scopes nest:
// the listings are dropped when the outermost one ends. Later lookups reuse a folder's last
// listing while the folder's modification time is unchanged and lies over a second before
// that listing was read.
class FolderListingScope {
  public:
    FolderListingScope();
    ~FolderListingScope();
    FolderListingScope(const FolderListingScope&) = delete;
    FolderListingScope& operator=(const FolderListingScope&) = delete;
};

// Writes bytes to a temporary file in the target's folder and renames it over the target once
// complete, so a failed write never destroys an existing file. A symlink is written through
// to the file it names; an existing file keeps its permission bits and owner, and one the user
// may not write, or whose owner the new file cannot take, is refused. False on any failure.
bool write_file_replacing(const std::string& path, const std::vector<uint8_t>& bytes);

// Whether path names the same file (device and inode) as the open file.
bool names_open_file(const std::string& path, std::FILE* file);

// The part of a name after its last '\' or '/'.
std::string_view last_path_part(std::string_view name);

char lower_ascii(char c);
bool equal_ignoring_case(std::string_view a, std::string_view b);

// Copies src into a buffer of capacity bytes, cutting it to fit, always terminated.
void copy_bounded(char* dest, size_t capacity, std::string_view src);
