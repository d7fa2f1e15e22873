// load_cob_bytes on damaged files: every truncated prefix, every byte set to extreme values, random
// corruption of built and real files, and stated lengths that point past their chunk. Each
// import either is refused with a known status or leaves a store whose indices all hold;
// the sanitizer build checks that no read or write leaves its table.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

namespace fs = std::filesystem;

enum class Outcome { imported, refused };

class CobDamagedFileTest : public CoreTest {
  protected:
    // Keeps the importer's standard-output lines out of the test log.
    void SetUp() override {
        CoreTest::SetUp();
        testing::internal::CaptureStdout();
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        CoreTest::TearDown();
    }
    // Imports a file image from memory: thousands of damaged files need no disk.
    Outcome import(const std::vector<uint8_t>& bytes) {
        view.model_loaded = 0;
        sink.boxes.clear();
        try {
            load_cob_bytes(bytes);
        } catch (const ProgramExit& stop) {
            EXPECT_TRUE(stop.status == -2 || stop.status == 7) << stop.status;
            EXPECT_EQ(last_caption(), "ERROR");
            EXPECT_EQ(view.model_loaded, 0);
            return Outcome::refused;
        }
        EXPECT_TRUE(sink.boxes.empty());
        EXPECT_EQ(view.model_loaded, 1);
        expect_consistent_store();
        return Outcome::imported;
    }

    // Every index in the store addresses a filled entry of its table.
    static void expect_consistent_store() {
        ASSERT_LE(model.num_vertices, uint32_t(MAX_VECT));
        ASSERT_LE(model.num_polygons, uint32_t(MAX_POLY));
        ASSERT_LE(model.num_subobjects, uint32_t(MAX_SOBJ));
        ASSERT_LE(model.num_textures, uint32_t(MAX_TEXTURE));
        for (uint32_t g = 1; g < model.num_subobjects; ++g)
            ASSERT_LT(model.sobj_parent[g], int32_t(g));
        for (uint32_t v = 0; v < model.num_vertices; ++v)
            ASSERT_LT(model.vertex_sobj[v], model.num_subobjects);
        for (uint32_t p = 0; p < model.num_polygons; ++p) {
            const Polygon& polygon = model.polygons[p];
            ASSERT_LE(polygon.num_points, 20u);
            ASSERT_LT(polygon.sobj, model.num_subobjects);
            if (polygon.n_txtr) {
                ASSERT_LT(polygon.texture, model.num_textures);
            }
            for (uint32_t k = 0; k < polygon.num_points; ++k)
                ASSERT_LT(polygon.points[k], model.num_vertices);
        }
    }
};

// A file with every chunk kind the importer reads and some it skips.
std::vector<uint8_t> sample_file() {
    CobBuildPolh polh;
    polh.name = "hull";
    polh.vertices = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {1, 1, 1}, {2, 0, 1}};
    polh.uvs = {{0.5f, 0.25f}, {1, 0}};
    polh.faces = {{{{0, 0}, {1, 1}, {2, 0}}, 1}, {{{2, 1}, {3, 0}, {4, 1}, {0, 0}}, 0, 8}};
    CobBuilder cob;
    cob.chunk("BitM", std::vector<uint8_t>(12, 0x55));
    uint32_t root = cob.grou("root", {1, 2, 3});
    cob.polh(polh, root);
    cob.mat1({1, 0.5f, 0.25f, 1, cob_texture_map("maps\\hull.bmp", 0.1f, 0.2f, 2, 3)});
    uint32_t arm = cob.grou("arm", {4, 5, 6}, root);
    cob.polh(polh, arm);
    std::vector<uint8_t> maps = cob_environment_map("sky.bmp"),
                         texture = cob_texture_map("c:/x/arm.tga");
    maps.insert(maps.end(), {'b', ':', 'q', 'q'});
    maps.insert(maps.end(), texture.begin(), texture.end());
    cob.mat1({0, 1, 0, 0, maps});
    cob.mat1({1, 0, 1, 0, {0x99, 0x99, 0x19, 0x3f}});
    cob.chunk("Unit", {1, 0});
    cob.end();
    return cob.bytes();
}

TEST_F(CobDamagedFileTest, EveryTruncatedPrefixImportsWhatItsCompleteChunksHold) {
    std::vector<uint8_t> whole = sample_file();
    ASSERT_EQ(import(whole), Outcome::imported);
    ASSERT_EQ(model.num_polygons, 4u);
    for (size_t n = 0; n < whole.size(); ++n) {
        EXPECT_EQ(import({whole.begin(), whole.begin() + long(n)}),
                  n < 32 ? Outcome::refused : Outcome::imported)
            << n;
        EXPECT_EQ(last_text(), n < 32 ? "Not a binary trueSpace file" : "") << n;
    }
}

TEST_F(CobDamagedFileTest, LengthsThatPointPastTheirChunkStayInsideIt) {
    // "e:" and "t:" names claiming 65535 bytes inside a short Mat1, a group name likewise.
    CobBuilder cob;
    uint32_t root = cob.grou("root", {0, 0, 0});
    cob.polh(cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}), root);
    auto record = [](std::vector<uint8_t> after) { // material 0, zeros, then `after`
        after.insert(after.begin(), 37, 0);
        return after;
    };
    cob.chunk("Mat1", record({'e', ':', 0xFF, 0xFF}), root);
    cob.chunk("Mat1", record({'t', ':', 2, 0xFF, 0xFF, 'l', 'o', 'n', 'g'}), root);
    cob.chunk("Grou", {0, 0, 0xFF, 0xFF, 'a', 'b'}, root);
    cob.polh(cob_single_face({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}));
    cob.end();
    ASSERT_EQ(import(cob.bytes()), Outcome::imported);
    EXPECT_EQ(model.num_subobjects, 2u);
    EXPECT_STREQ(model.sobj_name[1], "ab");
    EXPECT_EQ(model.num_polygons, 2u) << "the PolH after the damaged chunks is read";
    ASSERT_EQ(model.num_textures, 1u);
    EXPECT_STREQ(model.textures[0].name, "long");
}

TEST_F(CobDamagedFileTest, EveryByteSetToExtremeValuesAndRandomCorruptionAreReadSafely) {
    const std::vector<uint8_t> whole = sample_file();
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {0x00, 0x7f, 0x80, 0xff}) {
            std::vector<uint8_t> bytes = whole;
            bytes[at] = value;
            import(bytes);
            if (HasFailure())
                FAIL() << "byte " << at << " set to " << int(value);
        }
    }
    std::mt19937 random(5);
    int outcomes[2] = {0, 0};
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes = whole;
        for (int c = 1 + int(random() % 6); c > 0; --c)
            bytes[32 + random() % (bytes.size() - 32)] = uint8_t(random());
        outcomes[int(import(bytes))]++;
        if (HasFailure())
            FAIL() << "round " << round;
    }
    EXPECT_GT(outcomes[int(Outcome::refused)], 0);
    EXPECT_GT(outcomes[int(Outcome::imported)], 0);
}

fs::path real_file(const char* name) {
    const char* env = std::getenv("MESHLOOK_TESTDATA");
    fs::path root = env && *env ? fs::path(env)
                                : fs::path(__FILE__).parent_path().parent_path().parent_path() /
                                      ".." / "shared" / "testdata";
    return root / "cob" / name;
}

TEST_F(CobDamagedFileTest, TruncatedAndCorruptedRealFiles) {
    if (!fs::exists(real_file("spider_6_6.cob")) || !fs::exists(real_file("dwarf.cob")))
        GTEST_SKIP() << "no shared test data";
    // Every prefix past the header imports what its complete chunks hold.
    for (auto [name, step] : {std::pair{"dwarf.cob", 0}, std::pair{"spider_6_6.cob", 101}}) {
        std::vector<uint8_t> bytes = read_whole_file(real_file(name).string());
        for (size_t n = 32; n < bytes.size(); n += step ? step : bytes.size() / 200)
            EXPECT_EQ(import({bytes.begin(), bytes.begin() + long(n)}), Outcome::imported) << n;
    }
    std::vector<uint8_t> spider = read_whole_file(real_file("spider_6_6.cob").string());
    std::mt19937 random(11);
    for (int round = 0; round < 1000; ++round) {
        std::vector<uint8_t> bytes = spider;
        for (int c = 0; c < 8; ++c)
            bytes[32 + random() % (bytes.size() - 32)] = uint8_t(random());
        import(bytes);
        if (HasFailure())
            FAIL() << "round " << round;
    }
}

} // namespace
