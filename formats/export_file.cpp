// save_export: the writers' one way to the output file.
#include "formats/export_file.h"

#include <cstring>
#include <string>

#include "archive/hog_index.h"
#include "state/file_io.h"
#include "state/view_state.h"

namespace {

// Compared by device and inode, so a symlink or a name differing in case is caught too.
bool names_loaded_archive(const std::string& path) {
    if (hog.num_entries == 0)
        return false;
    FileHandle archive =
        open_for_reading(std::string(hog.hog_path, strnlen(hog.hog_path, PATH_LEN)));
    return archive && names_open_file(path, archive.get());
}

} // namespace

bool save_export(const std::vector<uint8_t>& image) {
    std::string path(view.export_path, strnlen(view.export_path, PATH_LEN));
    return !names_loaded_archive(path) && write_file_replacing(path, image);
}
