// OGF/OAF encoder.
#include "tools/texture_builder.h"

#include <cctype>
#include <map>

#include "state/byte_writer.h"
#include "tools/image_file_builder.h"

namespace {

void write_runs(ByteWriter& out, const std::vector<OgfRun>& runs) {
    for (const OgfRun& run : runs) {
        out.u8(run.count);
        out.u16(run.value);
    }
}

void write_image(ByteWriter& out, const OgfImage& image) {
    out.u8(0x4F);
    out.u8(0x47);
    out.u8(image.format_code);
    out.text(image.name);
    out.u8(0);
    // The image block's other bytes carry nothing the viewer needs; non-zero filler shows
    // that they are skipped.
    for (uint8_t i = 1; i <= 10; ++i)
        out.u8(i);
    out.u16(image.width);
    out.u16(image.height);
    out.u8(0xEE);
    out.u8(0xFF);
    write_runs(out, image.runs);
    for (const std::vector<OgfRun>& level : image.lower_levels)
        write_runs(out, level);
}

} // namespace

std::vector<uint8_t> build_ogf(const OgfImage& image) {
    ByteWriter out;
    write_image(out, image);
    return out.take();
}

std::vector<uint8_t> build_oaf(const std::vector<OgfImage>& frames, OafHeaderForm form) {
    ByteWriter out;
    out.text("OAF");
    out.u8(uint8_t(frames.size()));
    out.u8(0x01);
    if (form == OafHeaderForm::long_form) {
        out.u16(0x5C29);
        for (uint8_t i = 0; i < 10; ++i)
            out.u8(uint8_t(0xA0 + i));
    } else {
        out.u16(0x0100);
    }
    for (const OgfImage& frame : frames)
        write_image(out, frame);
    return out.take();
}

std::vector<OgfRun> encode_runs(const std::vector<uint16_t>& values) {
    std::vector<OgfRun> runs;
    for (size_t i = 0; i < values.size();) {
        size_t n = 1;
        while (i + n < values.size() && n < 255 && values[i + n] == values[i])
            ++n;
        runs.push_back({uint8_t(n), values[i]});
        i += n;
    }
    return runs;
}

OgfImage make_ogf_image(uint16_t width, uint16_t height, const std::vector<uint16_t>& values,
                        uint8_t format_code) {
    return ogf_image_of_runs(width, height, encode_runs(values), format_code);
}

OgfImage ogf_image_of_runs(uint16_t width, uint16_t height, std::vector<OgfRun> runs,
                           uint8_t format_code) {
    OgfImage image;
    image.format_code = format_code;
    image.width = width;
    image.height = height;
    image.runs = std::move(runs);
    return image;
}

uint16_t pack_1555(uint8_t red, uint8_t green, uint8_t blue, bool alpha_bit) {
    return uint16_t((alpha_bit ? 0x8000 : 0) | (red >> 3) << 10 | (green >> 3) << 5 | blue >> 3);
}

uint16_t pack_4444(uint8_t red, uint8_t green, uint8_t blue, uint8_t top_nibble) {
    return uint16_t((top_nibble & 0xF) << 12 | (red >> 4) << 8 | (green >> 4) << 4 | blue >> 4);
}

std::vector<uint8_t> noisy_texture(int seed, bool animated) {
    std::vector<uint16_t> values(128 * 128);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = uint16_t(0x8000 | ((i * 2654435761u + seed * 40503u) >> 7 & 0x7FFF) | 1);
    for (size_t i = 1; i < values.size(); ++i)
        if (values[i] == values[i - 1])
            values[i] ^= 2;
    OgfImage image = make_ogf_image(128, 128, values);
    return animated ? build_oaf({image, image}, OafHeaderForm::long_form) : build_ogf(image);
}

std::vector<uint8_t> one_pixel_texture_file(const std::string& name, uint16_t value) {
    OgfImage one = make_ogf_image(1, 1, {value});
    std::vector<uint8_t> rgba = {uint8_t(value >> 7 & 0xF8), 0, uint8_t(value << 3), 255};
    std::string ext = name.substr(name.size() - 3);
    for (char& c : ext)
        c = char(std::tolower(c));
    if (ext == "oaf")
        return build_oaf({one, make_ogf_image(1, 1, {0xFFFF})}, OafHeaderForm::long_form);
    const std::map<std::string, ImageFileFormat> images = {{"png", ImageFileFormat::png},
                                                           {"tga", ImageFileFormat::tga},
                                                           {"jpg", ImageFileFormat::jpg}};
    if (images.count(ext))
        return build_image_file(images.at(ext), 1, 1, rgba);
    return ext == "bmp" ? std::vector<uint8_t>{'B', 'M', 1, 2, 3} : build_ogf(one);
}
