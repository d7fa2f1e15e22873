// The real program, run unattended: a fatal reader error ends it with the reader's status
// after its "ERROR" box; a normal run ends with 0.
#include <gtest/gtest.h>

#include <QProcess>

#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

struct ProgramResult {
    int status;
    std::string errors;
};

ProgramResult run_meshlook(const std::string& script) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MESHLOOK_SCRIPT", QString::fromStdString(script));
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(MESHLOOK_EXECUTABLE, {});
    EXPECT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), program.readAllStandardError().toStdString()};
}

class ProgramRunTest : public CoreTest {};

TEST_F(ProgramRunTest, ABadArchiveEndsTheProgramWithStatus254) {
    std::string bad = dir.write("bad.hog", {'H', 'O', 'G', '3', 0, 0, 0, 0});
    ProgramResult run = run_meshlook("40003 " + bad + ";quit");
    EXPECT_EQ(run.status, 254);
    EXPECT_NE(run.errors.find("ERROR: Bad hog file\n"), std::string::npos) << run.errors;
}

TEST_F(ProgramRunTest, ABadModelInsideAnArchiveEndsWithTheReadersStatus) {
    OofChunk unknown{"ZZZZ", {1, 2, 3, 4}, std::nullopt};
    std::string hog = dir.write("ships.hog", build_hog({{"bad.oof", build_oof(2300, {unknown})}}));
    ProgramResult run = run_meshlook("40003 " + hog + ";quit");
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.errors.find("ERROR: Oof data is bad, unknown datatype... ouch"),
              std::string::npos)
        << run.errors;
}

TEST_F(ProgramRunTest, AnUnattendedRunEndsNormally) {
    ProgramResult run = run_meshlook("40019;quit");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("About: Meshlook\nVersion "), std::string::npos) << run.errors;
}

} // namespace
