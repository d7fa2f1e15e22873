// Running meshlook-cli as a subprocess, and reading back what it writes (JSON, PNG) with
// readers other than the program's own; the builders of the files it is given.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"
#include "tools/small_models.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

struct CliRun {
    int status; // exit status, or 128 + signal
    std::string out, err;
};

// Runs meshlook-cli with args in the folder cwd.
inline CliRun run_cli(const std::vector<std::string>& args, const fs::path& cwd) {
    TempDir capture;
    std::string command = "cd '" + cwd.string() + "' && exec '" MESHLOOK_CLI_PATH "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    int status = std::system(
        (command + " </dev/null >" + capture.path("out") + " 2>" + capture.path("err")).c_str());
    auto text = [&](const char* name) {
        std::vector<uint8_t> bytes = read_whole_file(capture.path(name));
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text("out"),
            text("err")};
}

// The JSON document `info FILE --json` prints, run in cwd; a failure fails the test.
inline nlohmann::json info_of(const fs::path& cwd, const std::string& file) {
    CliRun run = run_cli({"info", file, "--json"}, cwd);
    EXPECT_EQ(run.status, 0) << run.err;
    nlohmann::json info = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_FALSE(info.is_discarded()) << "not JSON:\n" << run.out;
    return info;
}

// Decodes a PNG with Qt's reader; a file that is not a valid PNG fails the test.
inline QImage read_png(const fs::path& path) {
    QImage image;
    EXPECT_TRUE(image.load(QString::fromStdString(path.string()), "PNG")) << path;
    return image;
}

// Expects pixel (x, y) of image to be r, g, b within 2, with alpha a.
inline void expect_colour(const QImage& image, int x, int y, int r, int g, int b, int a = 255) {
    QRgb p = image.pixel(x, y);
    for (auto [got, want] : {std::pair{qRed(p), r}, {qGreen(p), g}, {qBlue(p), b}})
        EXPECT_NEAR(got, want, 2) << x << ", " << y;
    EXPECT_EQ(qAlpha(p), a) << x << ", " << y;
}
