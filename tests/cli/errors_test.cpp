// meshlook-cli's exit statuses: bad usage is 2, a reader's refusal prints the viewer's message
// and ends with the viewer's status, and every command answers --help.
#include <gtest/gtest.h>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

TEST(CliErrors, StatusAndMessage) {
    TempDir dir;
    dir.write("bad_magic.oof", build_oof(2300, {}, "PSPX"));
    dir.write("guns.oof", build_oof(2300, {oof_points("GPNT", std::vector<OofPoint>(11))}));
    dir.write("text.cob", CobBuilder('A').bytes());
    dir.write("bad.hog", {'H', 'O', 'G', '3'});
    dir.write("empty.hog", build_hog({{"a.ogf", {1}}}));
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
        {{"info", "missing.oof"}, 254, "missing.oof: ERROR: Can't open the oof file"},
        {{"info", "bad_magic.oof"}, 0, "bad_magic.oof: ERROR: oof header is wrong"},
        {{"info", "guns.oof"}, 7, "guns.oof: ERROR: GPNT > MAX_PNT... ouch"},
        {{"info", "missing.orf"}, 254, "ERROR: Can't open the orf file"},
        {{"info", "text.cob"}, 254, "ERROR: Not a binary trueSpace file"},
        {{"list", "bad.hog"}, 254, "bad.hog: ERROR: Bad hog file"},
        {{"render", "empty.hog"}, 1, "empty.hog: This Hog has no Oof files"},
        {{"info", "empty.hog:x.oof"}, 1, "empty.hog: This Hog has no Oof files"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        CliRun run = run_cli(c.args, dir.root());
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(CliErrors, EveryCommandAnswersHelp) {
    TempDir dir;
    for (const char* command : {"info", "list", "extract", "convert", "render", "thumbnail"}) {
        CliRun run = run_cli({command, "--help"}, dir.root());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: meshlook-cli ") + command + " ", 0), 0u)
            << run.out;
    }
}

} // namespace
