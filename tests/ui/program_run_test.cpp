// The real program, run unattended: a fatal reader error ends it with the reader's status
// after its "ERROR" box; a normal run ends with 0.
#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>

#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

struct ProgramResult {
    int status;
    std::string errors;
};

// Runs the program on the test's display, or on `display` ("" for none).
ProgramResult run_meshlook(const std::string& script, const char* display = nullptr) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MESHLOOK_SCRIPT", QString::fromStdString(script));
    env.insert("QT_QPA_PLATFORM", "xcb");
    if (display && *display)
        env.insert("DISPLAY", display);
    else if (display)
        env.remove("DISPLAY");
    program.setProcessEnvironment(env);
    program.start(MESHLOOK_EXECUTABLE, {});
    EXPECT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), program.readAllStandardError().toStdString()};
}

class ProgramRunTest : public CoreTest {};

TEST_F(ProgramRunTest, FatalReaderErrorsEndWithTheReadersStatusAndANormalRunWithZero) {
    OofChunk unknown{"ZZZZ", {1, 2, 3, 4}, std::nullopt};
    struct Case {
        std::string script;
        int status;
        std::string error;
    } cases[] = {
        {"40003 " + dir.write("bad.hog", {'H', 'O', 'G', '3', 0, 0, 0, 0}), 254,
         "ERROR: Bad hog file\n"},
        {"40003 " + dir.write("ships.hog", build_hog({{"bad.oof", build_oof(2300, {unknown})}})), 5,
         "ERROR: Oof data is bad, unknown datatype... ouch"},
        {"40019", 0, "About: Meshlook\nVersion "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ProgramResult run = run_meshlook(c.script + ";quit");
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
    }
}

TEST_F(ProgramRunTest, WithoutADisplayItSaysSoInOneLineAndEndsWithOne) {
    for (const char* display : {"", ":97"}) {
        ProgramResult run = run_meshlook("40019;quit", display);
        EXPECT_EQ(run.status, 1) << display;
        EXPECT_EQ(run.errors.find("meshlook: cannot open the display "), 0u) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    }
}

} // namespace
