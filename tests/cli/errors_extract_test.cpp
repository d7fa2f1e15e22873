// meshlook-cli's exit statuses and messages (bad usage is 2, a reader's refusal ends with the
// viewer's status, outputs are replaced only by complete files), and list and extract: the
// listing, entries copied byte for byte, and names that would leave the output folder or
// collide refused with nothing written outside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/small_models.h"

namespace fs = std::filesystem;

namespace {

// Every file below root, as paths relative to it.
std::vector<std::string> files_below(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory())
            files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CliErrors, StatusAndMessage) {
    TempDir dir;
    dir.write("bad_magic.oof", build_oof(2300, {}, "PSPX"));
    dir.write("guns.oof", build_oof(2300, {oof_points("GPNT", std::vector<OofPoint>(11))}));
    dir.write("text.cob", CobBuilder('A').bytes());
    dir.write("bad.hog", {'H', 'O', 'G', '3'});
    dir.write("empty.hog", build_hog({{"a.ogf", {1}}}));
    dir.write("built.cob", cob_two_group_model());
    for (const char* kept : {"kept.oof", "kept.txt"})
        dir.write(kept, {'o', 'l', 'd'});
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{}, 2, "usage: meshlook-cli COMMAND"},
        {{"draw"}, 2, "unknown command 'draw'"},
        {{"info"}, 2, "meshlook-cli info: expects one FILE, got 0 arguments"},
        {{"info", "a.oof", "--colour"}, 2, "unknown option --colour"},
        {{"render", "a.oof", "--size", "0x5"}, 2, "--size wants WIDTHxHEIGHT"},
        {{"render", "a.oof", "--view", "30"}, 2, "--view wants two angles"},
        {{"render", "a.oof", "--all"}, 2, "--all and --sheet draw every polymodel of an archive"},
        {{"convert", "built.cob", "kept.txt"}, 2, "OUT must end in .oof, .orf or .obj"},
        {{"info", "missing.oof"}, 254, "missing.oof: ERROR: Can't open the oof file"},
        {{"info", "bad_magic.oof"}, 0, "bad_magic.oof: ERROR: oof header is wrong"},
        {{"info", "guns.oof"}, 7, "guns.oof: ERROR: GPNT > MAX_PNT... ouch"},
        {{"info", "missing.orf"}, 254, "ERROR: Can't open the orf file"},
        {{"info", "text.cob"}, 254, "ERROR: Not a binary trueSpace file"},
        {{"list", "bad.hog"}, 254, "bad.hog: ERROR: Bad hog file"},
        {{"render", "empty.hog"}, 1, "empty.hog: This Hog has no Oof files"},
        {{"info", "empty.hog:x.oof"}, 1, "empty.hog: This Hog has no Oof files"},
        {{"convert", "missing.cob", "kept.oof"}, 254, "missing.cob: ERROR: Can't open the cob"},
        {{"convert", "built.cob", "no_folder/x.oof"}, 1, "ERROR: Can't write the output file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        CliRun run = run_cli(c.args, dir.root());
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    for (const char* kept : {"kept.oof", "kept.txt"})
        EXPECT_EQ(read_whole_file(dir.path(kept)), (std::vector<uint8_t>{'o', 'l', 'd'})) << kept;
    EXPECT_FALSE(fs::exists(dir.root() / "no_folder"));
    for (const char* command : {"info", "list", "extract", "convert", "render", "thumbnail"}) {
        CliRun run = run_cli({command, "--help"}, dir.root());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: meshlook-cli ") + command + " ", 0), 0u);
    }
}

TEST(CliExtract, ListAndExtractNamedEntriesIgnoringCase) {
    TempDir dir;
    const std::vector<HogFile> entries = {{"ship.oof", {'P', 'S', 'P', 'O', 1, 2}},
                                          {"Hull.OGF", {7, 8, 9}},
                                          {"fire.oaf", {}},
                                          {"table.gam", std::vector<uint8_t>(300, 5)}};
    dir.write("a.hog", build_hog(entries));
    CliRun list = run_cli({"list", "a.hog"}, dir.root());
    EXPECT_EQ(list.out, "ship.oof           6  polymodel\n"
                        "Hull.OGF           3  texture\n"
                        "fire.oaf           0  animated texture\n"
                        "table.gam        300  other\n");
    // A name matching no entry fails after the others are written.
    CliRun run = run_cli(
        {"extract", "a.hog", "-o", "out/sub", "hull.ogf", "nothing.oof", "TABLE.GAM"}, dir.root());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no entry named nothing.oof"), std::string::npos) << run.err;
    EXPECT_EQ(files_below(dir.root()),
              (std::vector<std::string>{"a.hog", "out/sub/Hull.OGF", "out/sub/table.gam"}));
    EXPECT_EQ(read_whole_file(dir.path("out/sub/Hull.OGF")), entries[1].bytes);
    EXPECT_EQ(read_whole_file(dir.path("out/sub/table.gam")), entries[3].bytes);
    ASSERT_EQ(run_cli({"extract", "a.hog"}, dir.root()).status, 0);
    for (const HogFile& entry : entries)
        EXPECT_EQ(read_whole_file(dir.path(entry.name)), entry.bytes) << entry.name;
}

TEST(CliExtract, NamesLeavingTheFolderOrCollidingAreRefused) {
    TempDir dir;
    // An absolute name short enough for an archive entry.
    std::string outside = "/tmp/meshlook-cli-" + std::to_string(getpid());
    dir.write("a.hog", build_hog({{"../x", {1}},
                                  {outside, {2}},
                                  {"sub/y", {3}},
                                  {"sub\\z", {4}},
                                  {"..", {5}},
                                  {"ok.oof", {6}},
                                  {"OK.OOF", {7}},
                                  {"link.ogf", {8}}}));
    fs::create_directory(dir.root() / "out");
    fs::create_symlink("../target", dir.root() / "out/link.ogf");
    CliRun run = run_cli({"extract", "a.hog", "-o", "out"}, dir.root());

    EXPECT_EQ(run.status, 1);
    for (const char* refusal :
         {"\"../x\": its name contains a folder separator", "is an absolute path",
          "\"sub/y\": its name contains a folder separator",
          "\"sub\\z\": its name contains a folder separator", "\"..\": its name names a folder",
          "\"OK.OOF\": its name collides with entry 5 (ok.oof)",
          "out/link.ogf exists and is not a regular file", "7 entries not extracted"})
        EXPECT_NE(run.err.find(refusal), std::string::npos) << refusal << "\n" << run.err;
    EXPECT_EQ(files_below(dir.root()),
              (std::vector<std::string>{"a.hog", "out/link.ogf", "out/ok.oof"}));
    EXPECT_EQ(read_whole_file(dir.path("out/ok.oof")), std::vector<uint8_t>{6});
    EXPECT_FALSE(fs::exists(dir.root() / "target") || fs::exists(outside));
    fs::remove(outside);
}

} // namespace
