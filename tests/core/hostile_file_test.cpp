// Every reader on damaged and hostile input. Truncated prefixes, bytes set to extreme values and
// random corruption either load a store within its tables or stop with an "ERROR" box and one of
// the reader's statuses (the sanitizer build checks the memory side). Devices, pipes and folders
// are refused like missing files without waiting; oversized files and archive entries are
// refused by their header or the size cap before they are read.
#include <filesystem>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/hog_index.h"
#include "formats/cob_reader.h"
#include "formats/oof_reader.h"
#include "formats/orf_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Reader {
    void (*load)(std::span<const uint8_t>);
    std::set<int> statuses;
    bool imported; // indices are checked against the counts and no note is shown
};
const Reader OOF{load_oof_bytes, {-2, 0, 2, 3, 5, 7}, false};
const Reader ORF{load_orf_bytes, {-2, 0, 2, 3, 7}, true};
const Reader COB{load_cob_bytes, {-2, 7}, true};

struct Loader {
    char* path; // the buffer the command fills
    void (*load)();
    const char* cant_open; // the message for a file that cannot be opened, status -2
};
const Loader LOAD_OOF{view.oof_path, [] { load_oof(0); }, "Can't open the oof file"};
const Loader LOAD_HOG{hog.hog_path, load_hog, "Can't open the hog file"};
const Loader IMPORT_COB{view.import_path, load_cob, "Can't open the cob/scn file"};
const Loader IMPORT_ORF{view.import_path, load_orf, "Can't open the orf file"};

class HostileFileTest : public CoreTest {
  protected:
    // Loads bytes; true when the load finished, false when the reader stopped the program.
    bool load(const Reader& reader, std::span<const uint8_t> bytes) {
        clear_model();
        view.model_loaded = 0;
        sink.boxes.clear();
        try {
            stdout_of([&] { reader.load(bytes); }); // the trueSpace importer's lines
        } catch (const ProgramExit& stop) {
            EXPECT_TRUE(reader.statuses.count(stop.status)) << stop.status;
            EXPECT_EQ(last_caption() + std::to_string(view.model_loaded), "ERROR0");
            return false;
        }
        EXPECT_EQ(view.model_loaded, 1);
        EXPECT_TRUE(!reader.imported || sink.boxes.empty()) << last_text();
        expect_store_within_tables(reader.imported);
        return true;
    }
    // Every prefix of whole, whole with each byte set to each of the values, then `rounds`
    // copies with random bytes past `keep` changed (every third cut short when `cut`); returns
    // how many prefixes and how many changed copies loaded.
    std::pair<size_t, size_t> damage(const Reader& reader, const Bytes& whole,
                                     std::vector<uint8_t> values, int rounds, size_t keep = 0,
                                     bool cut = false) {
        size_t prefixes = 0, changed = 0;
        for (size_t n = 0; n < whole.size() && !HasFailure(); ++n)
            prefixes += load(reader, std::span(whole).first(n));
        for (size_t at = 0; at < whole.size() && !HasFailure(); ++at)
            for (uint8_t value : values) {
                Bytes bytes = whole;
                bytes[at] = value;
                changed += load(reader, bytes);
            }
        std::mt19937 random(rounds);
        for (int round = 0; round < rounds && !HasFailure(); ++round) {
            Bytes bytes = whole;
            for (int c = 1 + int(random() % 8); c > 0; --c)
                bytes[keep + random() % (bytes.size() - keep)] = uint8_t(random());
            if (cut && round % 3 == 0)
                bytes.resize(random() % bytes.size());
            changed += load(reader, bytes);
        }
        return {prefixes, changed};
    }
    // What a load command ends with; one that waits (an open() blocked on a pipe never
    // returns) ends the test program.
    template <class F> std::string outcome(F&& load) {
        sink.boxes.clear();
        alarm(20);
        int status = exit_status_of(load);
        alarm(0);
        return std::to_string(status) + " " + last_caption() + " " + last_text();
    }
    std::string outcome(const Loader& loader, const std::string& path) {
        reset_globals();
        copy_bounded(loader.path, PATH_LEN, path);
        return outcome(loader.load);
    }
};

TEST_F(HostileFileTest, DamagedModelsRoomsAndScenesLoadWithinTheTablesOrStop) {
    Bytes model = build_oof(2300, oof_every_chunk_kind(2300));
    damage(OOF, build_oof(1907, oof_every_chunk_kind(1907)), {}, 0);
    damage(OOF, model, {}, 1000);
    for (size_t n = 0; n < 4; ++n) // nothing shorter than the magic gets past it
        EXPECT_EQ(exit_status_of([&] { load_oof_bytes(std::span(model).first(n)); }), 0);
    // Short reads give zeros, so most prefixes load as smaller or zero-filled rooms.
    Bytes room = orf_sample_room();
    EXPECT_GT(damage(ORF, room, {0x00, 0xFF, 0x80, 0x7F, 0x01}, 1500, 0, true).first,
              room.size() / 2);
    Bytes scene = cob_every_chunk_kind();
    auto [prefixes, changed] = damage(COB, scene, {0x00, 0x7F, 0x80, 0xFF}, 20000, 32);
    EXPECT_EQ(prefixes, scene.size() - 32) << "every prefix past the header imports";
    EXPECT_GT(changed, 0u);
    EXPECT_LT(changed, 20000 + scene.size() * 4) << "some corruption is refused";
}

TEST_F(HostileFileTest, RealTrueSpaceFilesCutAndCorrupted) {
    std::filesystem::path folder = shared_testdata_folder() / "cob";
    if (!std::filesystem::exists(folder / "spider_6_6.cob") ||
        !std::filesystem::exists(folder / "dwarf.cob"))
        GTEST_SKIP() << "no shared test data";
    Bytes dwarf = read_whole_file((folder / "dwarf.cob").string());
    Bytes spider = read_whole_file((folder / "spider_6_6.cob").string());
    for (auto [bytes, step] : {std::pair{&dwarf, dwarf.size() / 200}, std::pair{&spider, 101ul}})
        for (size_t n = 32; n < bytes->size() && !HasFailure(); n += step)
            EXPECT_TRUE(load(COB, std::span(*bytes).first(n))) << n;
    damage(COB, spider, {}, 1000, 32);
}

TEST_F(HostileFileTest, MissingFilesDevicesPipesAndFoldersAreRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(dir.path("pipe.oof").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder.oof"));
    // PIPE.OOF exists only as the pipe, which the case-insensitive lookup must pass over too.
    for (const Loader& loader : {LOAD_OOF, LOAD_HOG, IMPORT_COB, IMPORT_ORF})
        for (const std::string& path :
             {dir.path("missing.oof"), std::string("/dev/zero"), dir.path("pipe.oof"),
              dir.path("PIPE.OOF"), dir.path("folder.oof")})
            EXPECT_EQ(outcome(loader, path), std::string("-2 ERROR ") + loader.cant_open) << path;
}

TEST_F(HostileFileTest, OversizedFilesAndArchiveEntriesAreRefusedByTheirHeaderOrTheSizeCap) {
    const uint64_t five_gib = uint64_t(5) << 30;
    const uint32_t three_gib = uint32_t(3) << 30;
    const Bytes model = build_oof(2300, {oof_pinf("big")});
    const std::string bad_oof = "5 ERROR Oof data is bad, unknown datatype... ouch";
    const std::tuple<const Loader&, Bytes, uint64_t, std::string> cases[] = {
        {LOAD_OOF, {}, five_gib, "0 ERROR oof header is wrong"},
        {LOAD_OOF, model, five_gib, bad_oof},
        {LOAD_OOF, model, MAX_READ_SIZE + 1, bad_oof},
        {LOAD_HOG, {}, five_gib, "-2 ERROR Bad hog file"},
        {IMPORT_COB, {}, five_gib, "-2 ERROR Not a binary trueSpace file"},
        {IMPORT_COB, CobBuilder().bytes(), five_gib, "-2 ERROR Not a binary trueSpace file"},
        {IMPORT_ORF, {}, five_gib, "-2 ERROR Bad Orf file..."},
    };
    for (const auto& [loader, head, size, want] : cases) {
        // A file of size bytes that starts with head; the rest is a hole that takes no space.
        std::string path = dir.write("big", head);
        ASSERT_EQ(truncate(path.c_str(), off_t(size)), 0);
        EXPECT_EQ(outcome(loader, path), want) << size << " " << head.size();
    }
    for (auto [entry, want] :
         {std::pair{model, bad_oof}, {{'J', 'U', 'N', 'K'}, "0 ERROR oof header is wrong"}}) {
        copy_bounded(hog.hog_path, PATH_LEN,
                     dir.write("big.hog", build_hog({{"big.oof", entry, three_gib}})));
        load_hog();
        ASSERT_EQ(hog.entries[0].length, three_gib);
        EXPECT_EQ(outcome([] { load_oof(0); }), want);
    }
}

} // namespace
