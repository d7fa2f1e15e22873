// The texture search order and the bounded read of the image that was found.
#include "archive/texture_search.h"

#include <cstring>
#include <string>

#include "archive/hog_index.h"
#include "archive/image_texture.h"
#include "archive/texture_renames.h"
#include "state/messages.h"

namespace {

// One read covers the headers, an image name of up to 255 characters and a full 128 x 128
// image; a longer name costs a second read.
constexpr size_t FIRST_READ = OAF_HEADER_SIZE + OAF_LONG_HEADER_EXTRA + 3 + 256 +
                              OGF_IMAGE_BLOCK_SIZE +
                              MAX_TEXTURE_SIZE * MAX_TEXTURE_SIZE * OGF_PIXEL_RECORD_SIZE;
// An image name is never this long; past it the rest is taken as cut short.
constexpr size_t MAX_READ = 16 * 1024 * 1024;

bool open_loose(const std::string& file_name, TextureKind kind, TextureFile& found) {
    FileHandle file = open_for_reading(file_name);
    if (!file)
        return false;
    found.file = std::move(file);
    found.offset = 0;
    found.kind = kind;
    return true;
}

bool open_in_archive(const std::string& file_name, TextureKind kind, TextureFile& found) {
    bool still = kind == TextureKind::still;
    const HogEntry* entry = still
                                ? find_hog_texture(hog.ogf_entries, hog.num_ogf, file_name.c_str())
                                : find_hog_texture(hog.oaf_entries, hog.num_oaf, file_name.c_str());
    if (!entry)
        return false;
    FileHandle file = open_for_reading(hog.hog_path);
    if (!file)
        fatal_error(still ? "Ogf: Can't open the hog file" : "Oaf: Can't open the hog file", -2);
    found.file = std::move(file);
    found.offset = entry->offset;
    found.kind = kind;
    return true;
}

bool find_under(const std::string& file_name, TextureKind kind, TextureFile& found) {
    if (!open_loose(file_name, kind, found) && !open_in_archive(file_name, kind, found))
        return false;
    copy_bounded(found.file_name, sizeof found.file_name, file_name);
    return true;
}

bool find_renamed(const std::string& file_name, TextureKind kind, TextureFile& found) {
    const char* stored_name = find_texture_rename(file_name);
    return stored_name && find_under(stored_name, kind, found);
}

// Image files are looked for loose only: archives hold the game's own texture kinds.
bool find_image(const std::string& base, TextureFile& found) {
    for (const char* extension : IMAGE_TEXTURE_EXTENSIONS) {
        std::string file_name = base + extension;
        if (open_loose(file_name, TextureKind::image, found)) {
            copy_bounded(found.file_name, sizeof found.file_name, file_name);
            return true;
        }
    }
    return false;
}

bool decode_image_file(std::FILE* file, TextureImage& image) {
    std::vector<uint8_t> bytes;
    return read_file_image(file, 0, file_size(file), 0, nullptr, bytes) &&
           decode_image_texture(bytes, image);
}

} // namespace

bool find_texture_file(const char* name, TextureFile& found) {
    std::string base(name, strnlen(name, TEXTURE_NAME_LEN));
    std::string still = base + ".ogf";
    std::string animated = base + ".oaf";
    return find_under(still, TextureKind::still, found) ||
           find_under(animated, TextureKind::animated, found) ||
           find_renamed(still, TextureKind::still, found) ||
           find_renamed(animated, TextureKind::animated, found) || find_image(base, found);
}

std::vector<uint8_t> read_texture_bytes(std::FILE* file, uint64_t offset, TextureKind kind) {
    size_t want = FIRST_READ;
    for (;;) {
        std::vector<uint8_t> bytes = read_bytes(file, offset, want);
        size_t needed = texture_bytes_needed(bytes, kind);
        bool file_ended = bytes.size() < want;
        if (needed <= bytes.size() || file_ended || want >= MAX_READ) {
            if (needed < bytes.size())
                bytes.resize(needed);
            return bytes;
        }
        // Only an unusually long image name gets here.
        want = needed == SIZE_MAX ? std::min(want * 2, MAX_READ) : needed;
    }
}

bool load_texture_image(const char* name, TextureImage& image, char* file_name) {
    TextureFile found;
    if (!find_texture_file(name, found))
        return false;
    copy_bounded(file_name, LOADED_FILE_LEN, found.file_name);
    if (found.kind == TextureKind::image)
        return decode_image_file(found.file.get(), image);
    std::vector<uint8_t> bytes = read_texture_bytes(found.file.get(), found.offset, found.kind);
    found.file.reset();
    return decode_texture(bytes, found.kind, image);
}
