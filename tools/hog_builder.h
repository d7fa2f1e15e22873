// Builds HOG2 archives from (name, bytes) pairs, for tests and the sample generator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct HogFile {
    std::string name; // at most 36 characters are stored
    std::vector<uint8_t> bytes;
    std::optional<uint32_t> stated_length{}; // the directory's length word; the data size if absent
};

// The archive image: 68-byte header, 48-byte directory records, data end to end.
// data_offset 0 means right after the directory.
std::vector<uint8_t> build_hog(const std::vector<HogFile>& files, uint32_t data_offset = 0);

// Writes bytes to path; true on success.
bool write_whole_file(const std::string& path, const std::vector<uint8_t>& bytes);
