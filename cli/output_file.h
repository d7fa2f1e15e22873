// Writing an output file whole: an existing file is replaced only once the new one is complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Throws CommandFailure naming the file when it cannot be written.
void write_output(const std::string& path, const std::vector<uint8_t>& bytes);
