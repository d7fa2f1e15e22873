// Test helpers shared by every test program.
#include "tests/support/test_globals.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tools/hog_builder.h"

void reset_globals() {
    // Static fresh copies avoid a megabyte-sized temporary on the stack.
    static const Polymodel fresh_model{};
    static const ViewState fresh_view{};
    static const HogIndex fresh_hog{};
    model = fresh_model;
    view = fresh_view;
    hog = fresh_hog;
}

std::filesystem::path shared_testdata_folder() {
    const char* env = std::getenv("MESHLOOK_TESTDATA");
    if (env && *env)
        return env;
    // This file is tests/support/test_globals.cpp.
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / ".." /
           "shared" / "testdata";
}

TempDir::TempDir() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("meshlook-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string TempDir::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::string p = path(name);
    write_whole_file(p, bytes);
    return p;
}

std::vector<uint8_t> read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CoreTest::SetUp() {
    reset_globals();
    install_message_sink(&sink);
}

void CoreTest::TearDown() {
    install_message_sink(nullptr);
}
