// Builds OGF still textures and OAF animated textures, for tests and the sample generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OgfRun {
    uint8_t count; // 0 and 1 both give one pixel
    uint16_t value;
};

struct OgfImage {
    uint8_t format_code = 122; // 122: 1-5-5-5; anything else: 4-4-4-4
    std::string name = "texture";
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<OgfRun> runs; // the top image's pixel records
    // Pixel records of further image levels, written after the top image.
    std::vector<std::vector<OgfRun>> lower_levels;
};

enum class OafHeaderForm {
    short_form, // 7 bytes
    long_form,  // 7 bytes whose bytes 5 and 6 read 0x5C29, then 10 more
};

std::vector<uint8_t> build_ogf(const OgfImage& image);

// An animated texture: the header, then each frame in the still-image layout.
std::vector<uint8_t> build_oaf(const std::vector<OgfImage>& frames,
                               OafHeaderForm form = OafHeaderForm::short_form);

// Run-length records for pixel values in row order, runs of at most 255.
std::vector<OgfRun> encode_runs(const std::vector<uint16_t>& values);

// An image of width x height pixel values, run-length encoded.
OgfImage make_ogf_image(uint16_t width, uint16_t height, const std::vector<uint16_t>& values,
                        uint8_t format_code = 122);
// An image of width x height made of the given records as they are (counts 0, overshoots).
OgfImage ogf_image_of_runs(uint16_t width, uint16_t height, std::vector<OgfRun> runs,
                           uint8_t format_code = 122);

// 8-bit components packed into the two pixel formats (low bits dropped).
uint16_t pack_1555(uint8_t red, uint8_t green, uint8_t blue, bool alpha_bit = true);
uint16_t pack_4444(uint8_t red, uint8_t green, uint8_t blue, uint8_t top_nibble = 0xF);

// A 128 x 128 still (or two-frame animated) texture whose every pixel differs from its
// neighbour: 16384 one-pixel records, the most bytes such an image can take.
std::vector<uint8_t> noisy_texture(int seed, bool animated);

// A one-pixel texture file of the kind its name's extension (any case) says, the pixel the
// 1-5-5-5 value: .oaf a long-header animation with a white second frame; .png, .tga and .jpg
// image files; .bmp a broken image file; anything else a still texture.
std::vector<uint8_t> one_pixel_texture_file(const std::string& name, uint16_t value);
