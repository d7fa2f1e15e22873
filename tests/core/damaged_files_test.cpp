// Every reader on damaged images: each truncated prefix of a valid file, every byte set to
// extreme values and random corruption either load a store that stays inside its tables or stop
// with an "ERROR" box and one of the reader's statuses; the sanitizer build checks the memory
// side.
#include <filesystem>
#include <random>
#include <set>

#include "formats/cob_reader.h"
#include "formats/oof_reader.h"
#include "formats/orf_reader.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Reader {
    const char* name;
    void (*load)(std::span<const uint8_t>);
    std::set<int> statuses;
    bool imported; // indices are checked against the counts and no note is shown
};

const Reader OOF{"oof", load_oof_bytes, {-2, 0, 2, 3, 5, 7}, false};
const Reader ORF{"orf", load_orf_bytes, {-2, 0, 2, 3, 7}, true};
const Reader COB{"cob", load_cob_bytes, {-2, 7}, true};

class DamagedFileTest : public CoreTest {
  protected:
    // The trueSpace importer's lines stay out of the test log.
    void SetUp() override {
        CoreTest::SetUp();
        testing::internal::CaptureStdout();
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        CoreTest::TearDown();
    }
    // Loads bytes; true when the load finished, false when the reader stopped the program.
    bool load(const Reader& reader, std::span<const uint8_t> bytes) {
        clear_model();
        view.model_loaded = 0;
        sink.boxes.clear();
        try {
            reader.load(bytes);
        } catch (const ProgramExit& stop) {
            EXPECT_TRUE(reader.statuses.count(stop.status)) << stop.status;
            EXPECT_EQ(last_caption(), "ERROR");
            EXPECT_EQ(view.model_loaded, 0);
            return false;
        }
        EXPECT_EQ(view.model_loaded, 1);
        if (reader.imported) {
            EXPECT_TRUE(sink.boxes.empty()) << last_text();
        }
        expect_store_within_tables(reader.imported);
        return true;
    }
    // Every prefix; returns how many loaded.
    size_t load_prefixes(const Reader& reader, const Bytes& whole, size_t step = 1) {
        size_t loaded = 0;
        for (size_t n = 0; n < whole.size() && !HasFailure(); n += step)
            loaded += load(reader, std::span(whole).first(n));
        return loaded;
    }
    // Each byte set to each of the values, then `rounds` copies with random bytes changed past
    // `keep` (and every third cut short when `cut`); returns how many loaded.
    size_t load_corrupted(const Reader& reader, const Bytes& whole, std::vector<uint8_t> values,
                          int rounds, unsigned seed, size_t keep = 0, bool cut = false) {
        size_t loaded = 0;
        for (size_t at = 0; at < whole.size() && !values.empty(); ++at) {
            for (uint8_t value : values) {
                Bytes bytes = whole;
                bytes[at] = value;
                loaded += load(reader, bytes);
            }
            if (HasFailure())
                return loaded;
        }
        std::mt19937 random(seed);
        for (int round = 0; round < rounds && !HasFailure(); ++round) {
            Bytes bytes = whole;
            for (int c = 1 + int(random() % 8); c > 0; --c)
                bytes[keep + random() % (bytes.size() - keep)] = uint8_t(random());
            if (cut && round % 3 == 0)
                bytes.resize(random() % bytes.size());
            loaded += load(reader, bytes);
        }
        return loaded;
    }
};

const Bytes valid_room =
    build_orf({{10, 0, -5}, {12, 1, -5}, {11, 3, -2}, {9, 2, 0}, {10, 1, 1}},
              {"maps\\brick.bmp", "ROCK0030.OGF1", "plain"},
              {{{0, 0, 1}, 0, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}}},
               {{0, 1, 0}, 2, {{1, 0.5f, 0}, {2, 0, 0.5f}, {3, 1, 1}, {4, 0, 1}}},
               {{1, 0, 0}, 1, {{4, 0, 0}, {3, 1, 0}, {0, 1, 1}}}});

// Every chunk kind the importer reads and some it skips.
Bytes valid_scene() {
    CobBuildPolh polh;
    polh.vertices = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {1, 1, 1}, {2, 0, 1}};
    polh.uvs = {{0.5f, 0.25f}, {1, 0}};
    polh.faces = {{{{0, 0}, {1, 1}, {2, 0}}, 1}, {{{2, 1}, {3, 0}, {4, 1}, {0, 0}}, 0, 8}};
    CobBuilder cob;
    cob.chunk("BitM", Bytes(12, 0x55));
    uint32_t root = cob.grou("root", {1, 2, 3});
    cob.polh(polh, root);
    cob.mat1({1, 0.5f, 0.25f, 1, cob_texture_map("maps\\hull.bmp", 0.1f, 0.2f, 2, 3)});
    cob.polh(polh, cob.grou("arm", {4, 5, 6}, root));
    Bytes maps = cob_environment_map("sky.bmp"), texture = cob_texture_map("c:/x/arm.tga");
    maps.insert(maps.end(), {'b', ':', 'q', 'q'});
    maps.insert(maps.end(), texture.begin(), texture.end());
    cob.mat1({0, 1, 0, 0, maps});
    cob.mat1({1, 0, 1, 0, {0x99, 0x99, 0x19, 0x3f}});
    cob.chunk("Unit", {1, 0});
    cob.end();
    return cob.bytes();
}

TEST_F(DamagedFileTest, PolymodelPrefixesAndCorruption) {
    for (uint32_t version : {1907u, 2300u}) {
        Bytes whole = build_oof(version, oof_every_chunk_kind(version));
        ASSERT_TRUE(load(OOF, whole));
        load_prefixes(OOF, whole);
        // Nothing shorter than the magic gets past it.
        for (size_t n = 0; n < 4; ++n)
            EXPECT_EQ(exit_status_of([&] { load_oof_bytes(std::span(whole).first(n)); }), 0);
    }
    load_corrupted(OOF, build_oof(2300, oof_every_chunk_kind(2300)), {}, 1000, 20261206);
}

TEST_F(DamagedFileTest, RoomPrefixesAndCorruption) {
    ASSERT_TRUE(load(ORF, valid_room));
    EXPECT_EQ(model.num_polygons, 3u);
    // Short reads give zeros, so most prefixes load as smaller or zero-filled rooms.
    EXPECT_GT(load_prefixes(ORF, valid_room), valid_room.size() / 2);
    load_corrupted(ORF, valid_room, {0x00, 0xFF, 0x80, 0x7F, 0x01}, 1500, 4, 0, true);
}

TEST_F(DamagedFileTest, TrueSpacePrefixesAndCorruption) {
    Bytes whole = valid_scene();
    ASSERT_TRUE(load(COB, whole));
    ASSERT_EQ(model.num_polygons, 4u);
    // Every prefix past the header imports what its complete chunks hold.
    EXPECT_EQ(load_prefixes(COB, whole), whole.size() - 32);
    EXPECT_EQ(last_text(), "");
    size_t rounds = 20000;
    size_t loaded = load_corrupted(COB, whole, {0x00, 0x7F, 0x80, 0xFF}, int(rounds), 5, 32);
    EXPECT_GT(loaded, 0u);
    EXPECT_LT(loaded, rounds + whole.size() * 4) << "some corruption is refused";
}

TEST_F(DamagedFileTest, RealTrueSpaceFilesCutAndCorrupted) {
    std::filesystem::path folder = shared_testdata_folder() / "cob";
    if (!std::filesystem::exists(folder / "spider_6_6.cob") ||
        !std::filesystem::exists(folder / "dwarf.cob"))
        GTEST_SKIP() << "no shared test data";
    Bytes dwarf = read_whole_file((folder / "dwarf.cob").string());
    Bytes spider = read_whole_file((folder / "spider_6_6.cob").string());
    for (auto [bytes, step] : {std::pair{&dwarf, dwarf.size() / 200}, std::pair{&spider, 101ul}})
        for (size_t n = 32; n < bytes->size() && !HasFailure(); n += step)
            EXPECT_TRUE(load(COB, std::span(*bytes).first(n))) << n;
    load_corrupted(COB, spider, {}, 1000, 11, 32);
}

} // namespace
