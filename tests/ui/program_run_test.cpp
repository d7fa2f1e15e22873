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

} // namespace
