// Image files written into memory by stb_image_write.
#include "tools/image_file_builder.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

void append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    auto* first = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

} // namespace

std::vector<uint8_t> build_image_file(ImageFileFormat format, int width, int height,
                                      const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> bytes;
    const uint8_t* pixels = rgba.data();
    switch (format) {
    case ImageFileFormat::png:
        stbi_write_png_to_func(append, &bytes, width, height, 4, pixels, width * 4);
        break;
    case ImageFileFormat::tga:
        stbi_write_tga_to_func(append, &bytes, width, height, 4, pixels);
        break;
    case ImageFileFormat::bmp:
        stbi_write_bmp_to_func(append, &bytes, width, height, 4, pixels);
        break;
    case ImageFileFormat::jpg:
        stbi_write_jpg_to_func(append, &bytes, width, height, 4, pixels, 95);
        break;
    }
    return bytes;
}
