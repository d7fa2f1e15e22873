// load_oof on damaged files: every truncated prefix, chunks cut short, every count at its
// largest value and random corruption either load or stop with a known status, never reading
// or writing outside the data and the tables (the sanitizer build checks the memory side).
#include <cstring>
#include <random>
#include <set>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/byte_writer.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

const std::set<int> kStatuses = {-2, 0, 2, 3, 5, 7};
constexpr int kLoaded = 1000;

class OofRobustTest : public CoreTest {
  protected:
    // Loads bytes as a loose file; returns the exit status, or kLoaded when the load finished.
    int try_load(const std::vector<uint8_t>& bytes) {
        sink.boxes.clear();
        std::strcpy(view.oof_path, dir.write("damaged.oof", bytes).c_str());
        return status_of_load();
    }
    int status_of_load() {
        try {
            load_oof(0);
        } catch (const ProgramExit& e) {
            return e.status;
        }
        return kLoaded;
    }
    // Loads or stops with a known status, and leaves every count inside its table.
    void expect_clean(int status) {
        ASSERT_TRUE(status == kLoaded || kStatuses.count(status)) << status;
        EXPECT_LE(model.num_vertices, uint32_t(MAX_VECT));
        EXPECT_LE(model.num_polygons, uint32_t(MAX_POLY));
        EXPECT_LE(model.num_subobjects, uint32_t(MAX_SOBJ));
        EXPECT_LE(model.num_textures, uint32_t(MAX_TEXTURE));
        EXPECT_LE(model.num_used_frames, uint32_t(MAX_ANI));
        for (uint32_t p = 0; p < model.num_polygons; ++p) {
            ASSERT_LE(model.polygons[p].num_points, uint32_t(MAX_POLY_POINTS));
            for (uint32_t c = 0; c < model.polygons[p].num_points; ++c)
                ASSERT_LT(model.polygons[p].points[c], uint32_t(MAX_VECT));
        }
    }
};

TEST_F(OofRobustTest, EveryTruncatedPrefixAndRandomCorruptionLoadsOrStopsCleanly) {
    for (uint32_t version : {1907u, 2300u}) {
        std::vector<uint8_t> whole = build_oof(version, oof_every_chunk_kind(version));
        for (size_t n = 0; n < whole.size(); ++n) {
            SCOPED_TRACE(n);
            int status = try_load(std::vector<uint8_t>(whole.begin(), whole.begin() + n));
            expect_clean(status);
            EXPECT_TRUE(n >= 4 || status == 0) << "nothing shorter than the magic gets past it";
        }
    }
    std::vector<uint8_t> whole = build_oof(2300, oof_every_chunk_kind(2300));
    std::mt19937 random(20261206);
    for (int round = 0; round < 1000; ++round) {
        std::vector<uint8_t> bytes = whole;
        for (int flips = 1 + int(random() % 4); flips > 0; --flips)
            bytes[random() % bytes.size()] = random() % 3 == 0 ? 0xFF : uint8_t(random());
        SCOPED_TRACE(round);
        expect_clean(try_load(bytes));
    }
}

// A file cut inside a vertex block: the missing fields read as zeros and the load finishes.
// The reader walks the fields as stated, so it ends where the chunk said and shows nothing.
TEST_F(OofRobustTest, ChunkCutShortReadsZerosPastTheEnd) {
    OofSubobject sobj;
    sobj.name = "cut";
    sobj.positions = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    sobj.normals = sobj.positions;
    std::vector<uint8_t> bytes = build_oof(2300, {oof_sobj(sobj, 2300)});
    // Header 8, chunk head 8, fixed fields 4 + 4 + 28 + 12 + 24, name 4 + 3, props 4, words 12,
    // count 4, then the first position and the x of the second.
    size_t cut = 8 + 8 + 72 + 7 + 4 + 12 + 4 + 12 + 4;
    bytes.resize(cut);
    model.vertices[1] = {9, 9, 9};
    model.vertex_alpha[2] = 9;
    EXPECT_EQ(try_load(bytes), kLoaded);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(std::vector(model.vertices, model.vertices + 3),
              (std::vector<Vec3>{{1, 2, 3}, {4, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(model.vertex_alpha[2], 0.0f);
    EXPECT_EQ(model.num_polygons, 0u);
}

// An archive entry cut short by the end of the file reads zeros past it too.
TEST_F(OofRobustTest, ArchiveEntryPastTheEndOfTheFile) {
    std::vector<uint8_t> whole = build_oof(2300, oof_every_chunk_kind(2300));
    std::vector<uint8_t> hog_bytes = build_hog({{"cut.oof", whole}});
    hog_bytes.resize(hog_bytes.size() - whole.size() / 2);
    std::strcpy(hog.hog_path, dir.write("cut.hog", hog_bytes).c_str());
    load_hog();
    ASSERT_EQ(hog.num_oof, 1u);
    expect_clean(status_of_load());
}

// Each count field of each chunk set to 0xFFFFFFFF, with the rest of the file as it was.
TEST_F(OofRobustTest, EveryCountAtItsLargestValueIsRefusedOrBounded) {
    struct Case {
        const char* what;
        std::vector<OofChunk> chunks;
        size_t count_at; // offset of the count in the last chunk's data
        int status;
    };
    OofSubobject sobj;
    sobj.name = std::string("n") + '\0';
    sobj.positions = {{1, 1, 1}};
    sobj.polygons = {{.corners = {{0, 0, 0}}}};
    size_t names = 72 + 4 + 2 + 4;
    std::vector<Case> cases = {
        {"TXTR count", {oof_txtr({"a"})}, 0, 0},
        {"TXTR name", {oof_txtr({"a"})}, 4, 0},
        {"SPCL", {oof_spcl({})}, 0, 7},
        {"SPCL name", {oof_spcl({{"a", "b", {}, 0}})}, 4, 7},
        {"WBAT", {oof_wbat({})}, 0, 7},
        {"WBAT guns", {oof_wbat({{{1}, {1}}})}, 4, 7},
        {"WBAT turrets", {oof_wbat({{{1}, {1}}})}, 12, 7},
        {"SOBJ parent all ones is -1, none", {oof_sobj(sobj, 2300)}, 4, kLoaded},
        {"SOBJ name", {oof_sobj(sobj, 2300)}, 72, 7},
        {"SOBJ props", {oof_sobj(sobj, 2300)}, 72 + 4 + 2, 7},
        {"SOBJ vertices", {oof_sobj(sobj, 2300)}, names + 12, 7},
        {"SOBJ polygons", {oof_sobj(sobj, 2300)}, names + 12 + 4 + 28, 3},
        {"SOBJ corners", {oof_sobj(sobj, 2300)}, names + 12 + 4 + 28 + 4 + 12, 2},
        {"SOBJ corner index", {oof_sobj(sobj, 2300)}, names + 12 + 4 + 28 + 4 + 12 + 4 + 4 + 3, 7},
        // The key chunks take their counts from the subobjects before them.
        {"PANI", {oof_sobj(sobj, 2300), oof_pani({{{1, {}}}})}, 0, 7},
        {"RANI", {oof_sobj(sobj, 2300), oof_rani({{{1, {}, 0}}})}, 0, 7},
    };
    for (const char* tag : {"GPNT", "GRND", "ATCH", "NATH"})
        cases.push_back({tag, {oof_points(tag, {})}, 0, 7});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_globals();
        std::vector<uint8_t>& data = c.chunks.back().data;
        ASSERT_LE(c.count_at + 4, data.size());
        std::memset(data.data() + c.count_at, 0xFF, 4);
        int status = try_load(build_oof(2300, c.chunks));
        EXPECT_EQ(status, c.status);
        expect_clean(status);
    }

    // PINF takes its count from the chunk length.
    OofChunk pinf = oof_pinf("abc");
    pinf.stated_length = 0xFFFFFFFF;
    EXPECT_EQ(try_load(build_oof(2300, {pinf})), 7);
    // A huge length on a chunk that reads little: one message, then the data has ended.
    OofChunk gpnt = oof_points("GPNT", {});
    gpnt.stated_length = 0xFFFFFFFF;
    EXPECT_EQ(try_load(build_oof(2300, {gpnt, oof_pinf("never read")})), kLoaded);
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_STREQ(model.pinf_text, "");
}

} // namespace
