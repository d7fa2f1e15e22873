// The model's textures as PNG files beside an exported .obj, one per used texture slot.
#pragma once

#include <string>
#include <vector>

struct ExportedTexture {
    bool written = false; // found, decoded and written as png_name
    std::string png_name; // file name inside the folder
    bool has_alpha = false;
};

// Finds and decodes each used texture as the viewer would and writes it as an RGBA PNG into
// folder, named after the texture (made safe as a file name, unique ignoring case). One entry
// per texture slot; a texture that is not found is reported and left unwritten.
std::vector<ExportedTexture> export_textures(const std::string& folder);

// A name made of letters, digits, '_', '-' and '.', not starting with '.'.
std::string safe_file_name(const std::string& name);
