// Finding a texture's file (loose, in the archive, under a renamed file, as an image file) and
// decoding it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/texture_decode.h"
#include "state/file_io.h"
#include "state/polymodel.h"

struct TextureFile {
    FileHandle file;
    uint64_t offset = 0; // where the image starts: 0 for a loose file
    TextureKind kind = TextureKind::still;
    char file_name[LOADED_FILE_LEN] = {}; // the name that was found
};

// Tries name.ogf, name.oaf, then the rename table's file for each, every name first loose in
// the working directory and then in the archive's list of its kind; last name.png, .tga, .bmp,
// .jpg and .jpeg loose in the working directory. False when none exists.
// An archive entry whose archive cannot be opened ends the program.
bool find_texture_file(const char* name, TextureFile& found);

// The bytes of file from offset on that decoding an image can use (fewer where it ends).
std::vector<uint8_t> read_texture_bytes(std::FILE* file, uint64_t offset, TextureKind kind);

// Finds texture name and decodes it into texture_pixels; file_name gets the name it was found
// under. False when it was not found or is too large.
bool load_texture_image(const char* name, TextureImage& image, char* file_name);
