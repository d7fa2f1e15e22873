// meshlook-cli list and extract: the listing, entries copied byte for byte, and names that
// would leave the output folder or collide refused with nothing written outside it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"

namespace fs = std::filesystem;

namespace {

std::vector<HogFile> plain_entries() {
    return {{"ship.oof", {'P', 'S', 'P', 'O', 1, 2}},
            {"Hull.OGF", {7, 8, 9}},
            {"fire.oaf", {}},
            {"table.gam", std::vector<uint8_t>(300, 5)}};
}

// Every file below root, as paths relative to it.
std::vector<std::string> files_below(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory())
            files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CliExtract, ListShowsNameSizeAndKind) {
    TempDir dir;
    dir.write("a.hog", build_hog(plain_entries()));
    CliRun run = run_cli({"list", "a.hog"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ship.oof           6  polymodel\n"
                       "Hull.OGF           3  texture\n"
                       "fire.oaf           0  animated texture\n"
                       "table.gam        300  other\n");
}

TEST(CliExtract, AllEntriesOrThoseNamedIgnoringCase) {
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> written;
    } cases[] = {
        {{}, {"Hull.OGF", "fire.oaf", "ship.oof", "table.gam"}},
        {{"hull.ogf", "TABLE.GAM"}, {"Hull.OGF", "table.gam"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("a.hog", build_hog(plain_entries()));
        std::vector<std::string> args = {"extract", "a.hog", "-o", "out/sub"};
        args.insert(args.end(), c.names.begin(), c.names.end());
        CliRun run = run_cli(args, dir.root());
        ASSERT_EQ(run.status, 0) << run.err;
        std::vector<std::string> expected;
        for (const std::string& name : c.written)
            expected.push_back("out/sub/" + name);
        expected.push_back("a.hog");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(files_below(dir.root()), expected);
        for (const HogFile& entry : plain_entries()) {
            if (fs::exists(dir.root() / "out/sub" / entry.name)) {
                EXPECT_EQ(read_whole_file(dir.path("out/sub/" + entry.name)), entry.bytes);
            }
        }
    }
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
    EXPECT_FALSE(fs::exists(dir.root() / "target"));
    EXPECT_FALSE(fs::exists(outside));
    fs::remove(outside);
}

TEST(CliExtract, NameMatchingNoEntryFailsAfterTheOthers) {
    TempDir dir;
    dir.write("a.hog", build_hog(plain_entries()));
    CliRun run = run_cli({"extract", "a.hog", "nothing.oof", "ship.oof"}, dir.root());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no entry named nothing.oof"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir.root() / "ship.oof"));
}

} // namespace
