// Loose-file reading and name helpers shared by every reader.
#include "state/file_io.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// O_NONBLOCK keeps open() from waiting for the writer of a FIFO (or for a device); it is
// cleared once fstat has shown a regular file, which is all a reader takes.
FileHandle open_regular(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    FileHandle file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

bool seek_to(std::FILE* file, uint64_t offset) {
    return offset <= uint64_t(INT64_MAX) && fseeko(file, off_t(offset), SEEK_SET) == 0;
}

// How many of max_bytes from offset the file still holds.
size_t bytes_held(std::FILE* file, uint64_t offset, uint64_t max_bytes) {
    uint64_t size = file_size(file);
    return size_t(std::min(max_bytes, offset < size ? size - offset : 0));
}

// Reads up to max_bytes from offset into bytes, after the `ahead` bytes already read from there;
// the buffer is allocated once, no larger than the file still holds. False when memory cannot
// hold it.
bool read_into(std::FILE* file, uint64_t offset, uint64_t max_bytes, std::span<const uint8_t> ahead,
               std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!seek_to(file, offset + ahead.size()))
        return true;
    size_t want = bytes_held(file, offset, max_bytes);
    if (want <= ahead.size()) {
        bytes.assign(ahead.begin(), ahead.begin() + want);
        return true;
    }
    try {
        bytes.resize(want);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::copy(ahead.begin(), ahead.end(), bytes.begin());
    size_t rest = std::fread(bytes.data() + ahead.size(), 1, want - ahead.size(), file);
    bytes.resize(ahead.size() + rest);
    return true;
}

} // namespace

char lower_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower_ascii(x) == lower_ascii(y);
           });
}

std::string_view last_path_part(std::string_view name) {
    size_t cut = name.find_last_of("\\/");
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

void copy_bounded(char* dest, size_t capacity, std::string_view src) {
    if (capacity == 0)
        return;
    size_t n = std::min(src.size(), capacity - 1);
    std::memcpy(dest, src.data(), n);
    dest[n] = '\0';
}

FileHandle open_for_reading(const std::string& path) {
    FileHandle file = open_regular(path);
    if (!file && !path.empty()) {
        std::string other = find_ignoring_case(path);
        if (!other.empty())
            file = open_regular(other);
    }
    return file;
}

uint64_t file_size(std::FILE* file) {
    struct stat st;
    return ::fstat(fileno(file), &st) == 0 ? uint64_t(st.st_size) : 0;
}

std::vector<uint8_t> read_bytes(std::FILE* file, uint64_t offset, size_t max_bytes) {
    std::vector<uint8_t> bytes;
    read_into(file, offset, max_bytes, {}, bytes);
    return bytes;
}

bool read_file_image(std::FILE* file, uint64_t offset, uint64_t length, size_t header_size,
                     HeaderCheck check, std::vector<uint8_t>& bytes) {
    uint8_t header[MAX_CHECKED_HEADER];
    size_t got = 0;
    if (check) {
        size_t want = size_t(std::min<uint64_t>({length, header_size, sizeof header}));
        if (seek_to(file, offset))
            got = std::fread(header, 1, want, file);
        check({header, got});
    }
    return length <= MAX_READ_SIZE && read_into(file, offset, length, {header, got}, bytes);
}

bool names_open_file(const std::string& path, std::FILE* file) {
    struct stat named, open;
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fileno(file), &open) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}
