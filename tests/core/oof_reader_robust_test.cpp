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

class OofRobustTest : public CoreTest {
  protected:
    // Loads bytes as a loose file; returns the exit status, or 1000 when the load finished.
    int try_load(const std::vector<uint8_t>& bytes) {
        sink.boxes.clear();
        write_whole_file(path, bytes);
        try {
            load_oof(0);
        } catch (const ProgramExit& e) {
            return e.status;
        }
        return 1000;
    }
    void expect_store_within_limits() {
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
    void SetUp() override {
        CoreTest::SetUp();
        path = dir.path("damaged.oof");
        std::strcpy(view.oof_path, path.c_str());
    }

    std::string path;
};

TEST_F(OofRobustTest, EveryTruncatedPrefixLoadsOrStopsCleanly) {
    for (uint32_t version : {1907u, 2300u}) {
        std::vector<uint8_t> whole = build_oof(version, oof_every_chunk_kind(version));
        for (size_t n = 0; n < whole.size(); ++n) {
            SCOPED_TRACE(n);
            int status = try_load(std::vector<uint8_t>(whole.begin(), whole.begin() + n));
            if (status != 1000) {
                ASSERT_TRUE(kStatuses.count(status)) << status;
            } else {
                expect_store_within_limits();
            }
            // Nothing shorter than the magic gets past it.
            if (n < 4) {
                ASSERT_EQ(status, 0);
            }
        }
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
    EXPECT_EQ(try_load(bytes), 1000);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(model.vertices[0], (Vec3{1, 2, 3}));
    EXPECT_EQ(model.vertices[1], (Vec3{4, 0, 0}));
    EXPECT_EQ(model.vertices[2], (Vec3{0, 0, 0}));
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
    int status = 1000;
    try {
        load_oof(0);
    } catch (const ProgramExit& e) {
        status = e.status;
    }
    EXPECT_TRUE(status == 1000 || kStatuses.count(status)) << status;
    expect_store_within_limits();
}

// Each count field of each chunk set to 0xFFFFFFFF, with the rest of the file as it was.
TEST_F(OofRobustTest, EveryCountAtItsLargestValueIsRefusedOrBounded) {
    struct Case {
        const char* what;
        OofChunk chunk;
        size_t count_at; // offset of the count in the chunk data
        int status;
    };
    OofSubobject sobj;
    sobj.name = std::string("n") + '\0';
    sobj.positions = {{1, 1, 1}};
    OofPolygon poly;
    poly.corners = {{0, 0, 0}};
    sobj.polygons = {poly};
    size_t names = 72 + 4 + 2 + 4;
    std::vector<Case> cases = {
        {"TXTR count", oof_txtr({"a"}), 0, 0},
        {"TXTR name", oof_txtr({"a"}), 4, 0},
        {"GPNT", oof_points("GPNT", {}), 0, 7},
        {"GRND", oof_points("GRND", {}), 0, 7},
        {"ATCH", oof_points("ATCH", {}), 0, 7},
        {"NATH", oof_points("NATH", {}), 0, 7},
        {"SPCL", oof_spcl({}), 0, 7},
        {"SPCL name", oof_spcl({{"a", "b", {}, 0}}), 4, 7},
        {"WBAT", oof_wbat({}), 0, 7},
        {"WBAT guns", oof_wbat({{{1}, {1}}}), 4, 7},
        {"WBAT turrets", oof_wbat({{{1}, {1}}}), 12, 7},
        {"SOBJ parent all ones is -1, none", oof_sobj(sobj, 2300), 4, 1000},
        {"SOBJ name", oof_sobj(sobj, 2300), 72, 7},
        {"SOBJ props", oof_sobj(sobj, 2300), 72 + 4 + 2, 7},
        {"SOBJ vertices", oof_sobj(sobj, 2300), names + 12, 7},
        {"SOBJ polygons", oof_sobj(sobj, 2300), names + 12 + 4 + 28, 3},
        {"SOBJ corners", oof_sobj(sobj, 2300), names + 12 + 4 + 28 + 4 + 12, 2},
        {"SOBJ corner index", oof_sobj(sobj, 2300), names + 12 + 4 + 28 + 4 + 12 + 4 + 4 + 3, 7},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_globals();
        std::strcpy(view.oof_path, path.c_str());
        ASSERT_LE(c.count_at + 4, c.chunk.data.size());
        std::memset(c.chunk.data.data() + c.count_at, 0xFF, 4);
        EXPECT_EQ(try_load(build_oof(2300, {c.chunk})), c.status);
        expect_store_within_limits();
    }

    // The key chunks and PINF take their counts from subobjects and the chunk length.
    OofChunk pani = oof_pani({{{1, {}}}});
    std::memset(pani.data.data(), 0xFF, 4);
    EXPECT_EQ(try_load(build_oof(2300, {oof_sobj(sobj, 2300), pani})), 7);
    OofChunk rani = oof_rani({{{1, {}, 0}}});
    std::memset(rani.data.data(), 0xFF, 4);
    EXPECT_EQ(try_load(build_oof(2300, {oof_sobj(sobj, 2300), rani})), 7);
    OofChunk pinf = oof_pinf("abc");
    pinf.stated_length = 0xFFFFFFFF;
    EXPECT_EQ(try_load(build_oof(2300, {pinf})), 7);
    // A huge length on a chunk that reads little: one message, then the data has ended.
    OofChunk gpnt = oof_points("GPNT", {});
    gpnt.stated_length = 0xFFFFFFFF;
    EXPECT_EQ(try_load(build_oof(2300, {gpnt, oof_pinf("never read")})), 1000);
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_STREQ(model.pinf_text, "");
}

TEST_F(OofRobustTest, RandomCorruptionLoadsOrStopsCleanly) {
    std::vector<uint8_t> whole = build_oof(2300, oof_every_chunk_kind(2300));
    std::mt19937 random(20261206);
    for (int round = 0; round < 1000; ++round) {
        std::vector<uint8_t> bytes = whole;
        int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            size_t at = random() % bytes.size();
            bytes[at] = random() % 3 == 0 ? 0xFF : uint8_t(random());
        }
        SCOPED_TRACE(round);
        int status = try_load(bytes);
        if (status != 1000) {
            ASSERT_TRUE(kStatuses.count(status)) << status;
        }
        expect_store_within_limits();
    }
}

} // namespace
