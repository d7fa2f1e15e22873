#include "state/paths.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where the extension of the last part starts, or its end when there is none.
size_t extension_start(std::string_view name) {
    if (name == "." || name == "..")
        return name.size();
    size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

} // namespace

std::string_view name_part(std::string_view path) {
    size_t cut = path.rfind('/');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view folder_part(std::string_view path) {
    size_t cut = path.rfind('/');
    if (cut == std::string_view::npos)
        return {};
    size_t end = path.find_last_not_of('/', cut);
    return end == std::string_view::npos ? path.substr(0, 1) : path.substr(0, end + 1);
}

std::string join_path(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && joined.back() != '/')
        joined += '/';
    joined += name;
    return joined;
}

std::string_view extension_part(std::string_view path) {
    std::string_view name = name_part(path);
    return name.substr(extension_start(name));
}

std::string_view stem_part(std::string_view path) {
    std::string_view name = name_part(path);
    return name.substr(0, extension_start(name));
}

bool is_folder(const std::string& path) {
    struct stat found;
    return ::stat(path.c_str(), &found) == 0 && S_ISDIR(found.st_mode);
}

bool is_regular_file(const std::string& path) {
    struct stat found;
    return ::stat(path.c_str(), &found) == 0 && S_ISREG(found.st_mode);
}

bool change_folder(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

bool make_folders(const std::string& path) {
    for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1))
        ::mkdir(path.substr(0, cut).c_str(), 0777); // an existing part fails harmlessly
    ::mkdir(path.c_str(), 0777);
    return is_folder(path);
}

std::string absolute_path(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    char here[PATH_MAX];
    return ::getcwd(here, sizeof here) ? join_path(here, path) : path;
}
