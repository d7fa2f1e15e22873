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

void expect_store_within_tables(bool imported) {
    ASSERT_LE(model.num_vertices, uint32_t(MAX_VECT));
    ASSERT_LE(model.num_polygons, uint32_t(MAX_POLY));
    ASSERT_LE(model.num_subobjects, uint32_t(MAX_SOBJ));
    ASSERT_LE(model.num_textures, uint32_t(MAX_TEXTURE));
    ASSERT_LE(model.num_used_frames, uint32_t(MAX_ANI));
    uint32_t vertex_limit = imported ? model.num_vertices : MAX_VECT;
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        ASSERT_LE(polygon.num_points, uint32_t(MAX_POLY_POINTS));
        for (uint32_t k = 0; k < polygon.num_points; ++k)
            ASSERT_LT(polygon.points[k], vertex_limit);
        if (imported) {
            ASSERT_LT(polygon.sobj, model.num_subobjects);
            ASSERT_TRUE(!polygon.n_txtr || polygon.texture < model.num_textures) << p;
        }
    }
}

void CoreTest::SetUp() {
    reset_globals();
    install_message_sink(&sink);
}

void CoreTest::TearDown() {
    install_message_sink(nullptr);
}
