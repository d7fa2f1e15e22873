// Builds PNG, TGA, BMP and JPEG files from RGBA pixels, for tests of image-file textures.
#pragma once

#include <cstdint>
#include <vector>

enum class ImageFileFormat { png, tga, bmp, jpg };

// width x height pixels, R, G, B, A each, top row first. JPEG drops the alpha.
std::vector<uint8_t> build_image_file(ImageFileFormat format, int width, int height,
                                      const std::vector<uint8_t>& rgba);
