// Running meshlook-cli as a subprocess, and reading back what it writes (JSON, PNG) with
// readers of the tests' own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct CliRun {
    int status; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs meshlook-cli with args in the folder cwd.
CliRun run_cli(const std::vector<std::string>& args, const std::filesystem::path& cwd);

// Parses the standard output of a run as JSON; a parse failure fails the test.
nlohmann::json json_of(const CliRun& run);

struct DecodedPng {
    int width = 0;
    int height = 0;
    int channels = 0;            // 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels; // rows top to bottom
    // The channels of pixel (x, y); alpha 255 for RGB images.
    std::vector<int> at(int x, int y) const;
};

// Decodes an 8-bit RGB or RGBA PNG (chunk CRCs checked, every row filter undone). A file that
// is not such a PNG fails the test and gives an empty image.
DecodedPng read_png(const std::filesystem::path& path);

// The real trueSpace files beside the repository, or "" when they are absent.
std::filesystem::path real_cob_folder();
