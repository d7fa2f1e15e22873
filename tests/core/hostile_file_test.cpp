// Every load command on hostile files: devices, pipes and folders are refused like missing
// files without waiting; files and archive entries far larger than any real one are refused by
// their header or by the size cap before they are read.
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/hog_index.h"
#include "formats/cob_reader.h"
#include "formats/oof_reader.h"
#include "formats/orf_reader.h"
#include "state/file_io.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

constexpr uint64_t FIVE_GIB = uint64_t(5) << 30;
constexpr uint32_t THREE_GIB = uint32_t(3) << 30;

struct Loader {
    const char* command;
    char* path; // the buffer the command fills
    void (*load)();
    const char* cant_open; // the message for a file that cannot be opened, status -2
};

const Loader LOAD_OOF{"Load Oof", view.oof_path, [] { load_oof(0); }, "Can't open the oof file"};
const Loader LOAD_HOG{"Load Hog", hog.hog_path, load_hog, "Can't open the hog file"};
const Loader IMPORT_COB{"Import Cob", view.import_path, load_cob, "Can't open the cob/scn file"};
const Loader IMPORT_ORF{"Import Orf", view.import_path, load_orf, "Can't open the orf file"};

struct Outcome {
    int status;
    std::string text;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << o.status << " \"" << o.text << '"';
}

class HostileFileTest : public CoreTest {
  protected:
    // A load that waits (an open() blocked on a pipe never returns) ends the test program.
    template <class F> Outcome outcome(F&& load) {
        sink.boxes.clear();
        alarm(20);
        int status = exit_status_of(load);
        alarm(0);
        return {status, last_text()};
    }
    Outcome outcome(const Loader& loader, const std::string& path) {
        reset_globals();
        copy_bounded(loader.path, PATH_LEN, path);
        return outcome(loader.load);
    }
    // A file of size bytes that starts with head; the rest is a hole that takes no space.
    std::string sparse(const std::string& name, const std::vector<uint8_t>& head, uint64_t size) {
        std::string path = dir.write(name, head);
        EXPECT_EQ(truncate(path.c_str(), off_t(size)), 0);
        return path;
    }
};

TEST_F(HostileFileTest, DevicesPipesAndFoldersAreRefusedLikeMissingFilesWithoutWaiting) {
    ASSERT_EQ(mkfifo(dir.path("pipe.oof").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder.oof"));
    // PIPE.OOF exists only as the pipe, which the case-insensitive lookup must pass over too.
    std::vector<std::string> paths = {"/dev/zero", dir.path("pipe.oof"), dir.path("PIPE.OOF"),
                                      dir.path("folder.oof")};
    for (const Loader& loader : {LOAD_OOF, LOAD_HOG, IMPORT_COB, IMPORT_ORF}) {
        for (const std::string& path : paths) {
            SCOPED_TRACE(std::string(loader.command) + " " + path);
            EXPECT_EQ(outcome(loader, path), (Outcome{-2, loader.cant_open}));
        }
    }
}

TEST_F(HostileFileTest, OversizedFilesAreRefusedByTheirHeaderOrTheSizeCap) {
    struct Case {
        const Loader& loader;
        std::vector<uint8_t> head;
        uint64_t size;
        Outcome want;
    };
    std::vector<uint8_t> model = build_oof(2300, {oof_pinf("big")});
    std::vector<uint8_t> scene = CobBuilder().bytes();
    const Case cases[] = {
        {LOAD_OOF, {}, FIVE_GIB, {0, "oof header is wrong"}},
        {LOAD_OOF, model, FIVE_GIB, {5, "Oof data is bad, unknown datatype... ouch"}},
        {LOAD_OOF, model, MAX_READ_SIZE + 1, {5, "Oof data is bad, unknown datatype... ouch"}},
        {LOAD_HOG, {}, FIVE_GIB, {-2, "Bad hog file"}},
        {IMPORT_COB, {}, FIVE_GIB, {-2, "Not a binary trueSpace file"}},
        {IMPORT_COB, scene, FIVE_GIB, {-2, "Not a binary trueSpace file"}},
        {IMPORT_ORF, {}, FIVE_GIB, {-2, "Bad Orf file..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.loader.command) + " of " + std::to_string(c.size) +
                     " bytes, header of " + std::to_string(c.head.size()));
        EXPECT_EQ(outcome(c.loader, sparse("big", c.head, c.size)), c.want);
        EXPECT_EQ(last_caption(), "ERROR");
    }
}

TEST_F(HostileFileTest, ArchiveEntryStatedLongerThanTheCapIsRefusedUnread) {
    struct Case {
        std::vector<uint8_t> entry;
        Outcome want;
    };
    const Case cases[] = {
        {build_oof(2300, {}), {5, "Oof data is bad, unknown datatype... ouch"}},
        {{'J', 'U', 'N', 'K'}, {0, "oof header is wrong"}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> archive = build_hog({{"big.oof", c.entry}});
        std::memcpy(archive.data() + 68 + 40, &THREE_GIB, 4);
        copy_bounded(hog.hog_path, PATH_LEN, dir.write("big.hog", archive));
        load_hog();
        ASSERT_EQ(hog.entries[0].length, THREE_GIB);
        EXPECT_EQ(outcome([] { load_oof(0); }), c.want);
    }
}

} // namespace
