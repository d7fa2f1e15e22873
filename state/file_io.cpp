// Loose-file helpers shared by every reader and writer.
#include "state/file_io.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool write_all(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
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

std::string find_ignoring_case(const std::string& path) {
    fs::path wanted(path);
    fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    std::string name = wanted.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (equal_ignoring_case(it->path().filename().string(), name))
            return (wanted.has_parent_path() ? folder / it->path().filename()
                                             : it->path().filename())
                .string();
    }
    return "";
}

FileHandle open_for_reading(const std::string& path) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file && !path.empty()) {
        std::string other = find_ignoring_case(path);
        if (!other.empty())
            file.reset(std::fopen(other.c_str(), "rb"));
    }
    return file;
}

std::vector<uint8_t> read_bytes(std::FILE* file, uint64_t offset, size_t max_bytes) {
    std::vector<uint8_t> bytes;
    if (offset > uint64_t(INT64_MAX) || fseeko(file, off_t(offset), SEEK_SET) != 0)
        return bytes;
    constexpr size_t kChunk = 1 << 16;
    while (bytes.size() < max_bytes) {
        size_t old = bytes.size();
        size_t want = std::min(kChunk, max_bytes - old);
        bytes.resize(old + want);
        size_t got = std::fread(bytes.data() + old, 1, want, file);
        bytes.resize(old + got);
        if (got < want)
            break;
    }
    return bytes;
}

std::vector<uint8_t> read_rest(std::FILE* file) {
    off_t start = ftello(file);
    return read_bytes(file, start < 0 ? 0 : uint64_t(start), SIZE_MAX);
}

bool write_file_replacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::path target(path);
    std::string pattern = (target.has_parent_path() ? target.parent_path() / ".meshlook-XXXXXX"
                                                    : fs::path(".meshlook-XXXXXX"))
                              .string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    // mkstemp makes the file private; a saved model is an ordinary file.
    bool ok = ::fchmod(fd, 0644) == 0;
    ok = write_all(fd, bytes) && ok;
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(pattern.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(pattern.c_str());
    return ok;
}
