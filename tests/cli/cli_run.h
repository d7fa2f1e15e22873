// Running meshlook-cli as a subprocess, and reading back what it writes (JSON, PNG) with
// readers other than the program's own.
#pragma once

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct CliRun {
    int status; // exit status, or 128 + signal
    std::string out, err;
};

// Runs meshlook-cli with args in the folder cwd.
CliRun run_cli(const std::vector<std::string>& args, const std::filesystem::path& cwd);

// Parses the standard output of a run as JSON; a parse failure fails the test.
nlohmann::json json_of(const CliRun& run);

// Decodes a PNG with Qt's reader; a file that is not a valid PNG fails the test.
QImage read_png(const std::filesystem::path& path);

// Expects pixel (x, y) of image to be r, g, b within 2, with alpha a.
void expect_colour(const QImage& image, int x, int y, int r, int g, int b, int a = 255);

// The real trueSpace files beside the repository, or "" when they are absent.
std::filesystem::path real_cob_folder();
