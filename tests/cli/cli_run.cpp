// The subprocess runner and the readers of what it writes.
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/test_globals.h"

namespace fs = std::filesystem;

CliRun run_cli(const std::vector<std::string>& args, const fs::path& cwd) {
    TempDir capture;
    std::string command = "cd '" + cwd.string() + "' && exec '" MESHLOOK_CLI_PATH "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " </dev/null >" + capture.path("out") + " 2>" + capture.path("err");
    int status = std::system(command.c_str());
    auto text = [&](const char* name) {
        std::vector<uint8_t> bytes = read_whole_file(capture.path(name));
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text("out"),
            text("err")};
}

nlohmann::json json_of(const CliRun& run) {
    try {
        return nlohmann::json::parse(run.out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "not JSON (" << e.what() << "):\n" << run.out << run.err;
        return {};
    }
}

QImage read_png(const fs::path& path) {
    QImage image;
    EXPECT_TRUE(image.load(QString::fromStdString(path.string()), "PNG")) << path;
    return image;
}

void expect_colour(const QImage& image, int x, int y, int r, int g, int b, int a) {
    QRgb p = image.pixel(x, y);
    EXPECT_NEAR(qRed(p), r, 2) << x << ", " << y;
    EXPECT_NEAR(qGreen(p), g, 2) << x << ", " << y;
    EXPECT_NEAR(qBlue(p), b, 2) << x << ", " << y;
    EXPECT_EQ(qAlpha(p), a) << x << ", " << y;
}

fs::path real_cob_folder() {
    fs::path folder = shared_testdata_folder() / "cob";
    return fs::is_directory(folder) ? folder : fs::path();
}
