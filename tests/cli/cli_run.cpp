// The subprocess runner and the test's own PNG reader.
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "tests/support/test_globals.h"

namespace fs = std::filesystem;

namespace {

std::string read_text(const fs::path& path) {
    std::vector<uint8_t> bytes = read_whole_file(path.string());
    return {bytes.begin(), bytes.end()};
}

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

int paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Undoes the filter of each row in place; false on an unknown filter type.
bool unfilter(std::vector<uint8_t>& data, int width, int height, int channels,
              std::vector<uint8_t>& pixels) {
    size_t row = size_t(width) * channels;
    pixels.assign(row * height, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t type = data[y * (row + 1)];
        const uint8_t* in = &data[y * (row + 1) + 1];
        uint8_t* out = &pixels[y * row];
        const uint8_t* up = y > 0 ? out - row : nullptr;
        for (size_t i = 0; i < row; ++i) {
            int a = i >= size_t(channels) ? out[i - channels] : 0;
            int b = up ? up[i] : 0;
            int c = up && i >= size_t(channels) ? up[i - channels] : 0;
            int predictor[] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
            if (type > 4)
                return false;
            out[i] = uint8_t(in[i] + predictor[type]);
        }
    }
    return true;
}

} // namespace

CliRun run_cli(const std::vector<std::string>& args, const fs::path& cwd) {
    TempDir capture;
    std::string out = capture.path("out"), err = capture.path("err");
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0 || !freopen(out.c_str(), "w", stdout) ||
            !freopen(err.c_str(), "w", stderr))
            _exit(127);
        std::vector<char*> argv{const_cast<char*>(MESHLOOK_CLI_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(MESHLOOK_CLI_PATH, argv.data());
        _exit(127);
    }
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    int status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    return {status, read_text(out), read_text(err)};
}

nlohmann::json json_of(const CliRun& run) {
    try {
        return nlohmann::json::parse(run.out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "not JSON (" << e.what() << "):\n" << run.out << run.err;
        return {};
    }
}

std::vector<int> DecodedPng::at(int x, int y) const {
    const uint8_t* p = &pixels[(size_t(y) * width + x) * channels];
    return {p[0], p[1], p[2], channels == 4 ? p[3] : 255};
}

DecodedPng read_png(const fs::path& path) {
    std::vector<uint8_t> file = read_whole_file(path.string());
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    DecodedPng png;
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0) {
        ADD_FAILURE() << path << " is not a PNG";
        return {};
    }
    std::vector<uint8_t> packed;
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = be32(&file[at]);
        if (at + 12 + length > file.size())
            break;
        const uint8_t* type = &file[at + 4];
        const uint8_t* data = type + 4;
        EXPECT_EQ(crc32(0, type, 4 + length), be32(data + length)) << "CRC of a chunk";
        if (std::memcmp(type, "IHDR", 4) == 0) {
            png.width = int(be32(data));
            png.height = int(be32(data + 4));
            png.channels = data[9] == 6 ? 4 : data[9] == 2 ? 3 : 0;
            EXPECT_EQ(data[8], 8) << "bit depth";
            EXPECT_EQ(data[12], 0) << "interlace";
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), data, data + length);
        }
        at += 12 + length;
    }
    uLongf size = uLongf(png.width) * png.height * png.channels + png.height;
    std::vector<uint8_t> raw(size);
    bool ok = png.channels != 0 &&
              uncompress(raw.data(), &size, packed.data(), uLong(packed.size())) == Z_OK &&
              size == raw.size() && unfilter(raw, png.width, png.height, png.channels, png.pixels);
    if (!ok) {
        ADD_FAILURE() << path << ": bad PNG data";
        return {};
    }
    return png;
}

fs::path real_cob_folder() {
    fs::path folder = shared_testdata_folder() / "cob";
    return fs::is_directory(folder) ? folder : fs::path();
}
