// Decoding each used texture and writing it as a PNG.
#include "cli/texture_export.h"

#include <algorithm>
#include <cstring>

#include "archive/texture_search.h"
#include "cli/cli_sink.h"
#include "cli/entry_names.h"
#include "cli/model_summary.h"
#include "cli/output_file.h"
#include "cli/png_writer.h"
#include "state/paths.h"
#include "state/polymodel.h"

namespace {

Image decoded_image(const TextureImage& decoded) {
    Image image{decoded.width, decoded.height, {}};
    size_t bytes = size_t(decoded.width) * decoded.height * 4;
    image.rgba.assign(texture_pixels, texture_pixels + bytes);
    return image;
}

} // namespace

std::string safe_file_name(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '-' || c == '.';
        if (!plain)
            c = '_';
    }
    if (safe.empty() || safe[0] == '.')
        safe.insert(safe.begin(), '_');
    return safe;
}

std::vector<ExportedTexture> export_textures(const std::string& folder) {
    std::vector<ExportedTexture> exported(num_textures());
    NameClaims claims;
    for (uint32_t t = 0; t < num_textures(); ++t) {
        if (!model.textures[t].referenced)
            continue;
        TextureImage decoded{};
        char found_as[LOADED_FILE_LEN] = {};
        if (!load_texture_image(model.textures[t].name, decoded, found_as)) {
            report("texture \"" + texture_name(t) +
                   "\" not found or not readable; its polygons "
                   "get a plain light grey material");
            continue;
        }
        std::string stem = safe_file_name(texture_name(t));
        std::string png = stem + ".png";
        if (!claims.claim(png, "").empty())
            png = stem + "_" + std::to_string(t) + ".png";
        write_output(join_path(folder, png), encode_png(decoded_image(decoded), true));
        exported[t] = {true, png, decoded.has_alpha};
    }
    return exported;
}
