// HOG2 archive builder.
#include "tools/hog_builder.h"

#include <algorithm>
#include <fstream>

#include "state/byte_writer.h"

std::vector<uint8_t> build_hog(const std::vector<HogFile>& files, uint32_t data_offset) {
    if (data_offset == 0)
        data_offset = uint32_t(68 + 48 * files.size());
    ByteWriter out;
    out.text("HOG2");
    out.u32(uint32_t(files.size()));
    out.u32(data_offset);
    out.zeros(56);
    for (const HogFile& file : files) {
        char name[36] = {};
        std::copy_n(file.name.begin(), std::min<size_t>(36, file.name.size()), name);
        out.bytes(name, 36);
        out.u32(0);
        out.u32(file.stated_length.value_or(uint32_t(file.bytes.size())));
        out.u32(0);
    }
    if (out.size() < data_offset)
        out.zeros(data_offset - out.size());
    for (const HogFile& file : files)
        out.bytes(file.bytes.data(), file.bytes.size());
    return out.take();
}

bool write_whole_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}
