// write_file_replacing: the whole file goes to a temporary file beside the target, which takes
// the target's place only once complete and only with the target's owner and permissions.
#include "state/file_io.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "state/paths.h"

namespace {

constexpr int MAX_LINK_HOPS = 40; // as many as the kernel follows when opening a path

// The name a chain of symlinks ends at, which may not exist yet; "" for a loop.
std::string final_target(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < MAX_LINK_HOPS; ++hops) {
        struct stat link;
        if (::lstat(at.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return at;
        char next[PATH_MAX];
        ssize_t length = ::readlink(at.c_str(), next, sizeof next);
        if (length <= 0 || size_t(length) == sizeof next)
            return "";
        std::string_view target(next, size_t(length));
        at = target[0] == '/' ? std::string(target) : join_path(folder_part(at), target);
    }
    return "";
}

// What open() with mode 0666 would give a new file under the current umask.
mode_t new_file_mode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The temporary file takes the old file's owner and permission bits, or a new file's mode.
// The owner comes first: changing it may clear the set-user-ID and set-group-ID bits.
bool take_identity(int fd, const struct stat* old) {
    if (!old)
        return ::fchmod(fd, new_file_mode()) == 0;
    struct stat made;
    if (::fstat(fd, &made) != 0)
        return false;
    uid_t uid = made.st_uid == old->st_uid ? uid_t(-1) : old->st_uid;
    gid_t gid = made.st_gid == old->st_gid ? gid_t(-1) : old->st_gid;
    if ((uid != uid_t(-1) || gid != gid_t(-1)) && ::fchown(fd, uid, gid) != 0)
        return false;
    return ::fchmod(fd, old->st_mode & 07777) == 0;
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

bool write_file_replacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string target = final_target(path);
    if (target.empty())
        return false;
    struct stat old;
    bool exists = ::lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    // Only a regular file the user may write is replaced: never a device, pipe or folder.
    if (exists &&
        (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    std::string_view folder = folder_part(target);
    std::string temp = join_path(folder.empty() ? "." : folder, ".meshlook-XXXXXX");
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = take_identity(fd, exists ? &old : nullptr) && write_all(fd, bytes);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}
