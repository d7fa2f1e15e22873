// write_file_replacing: the whole file goes to a temporary file beside the target, which takes
// the target's place only once complete.
#include "state/file_io.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

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
