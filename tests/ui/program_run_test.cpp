// The real program, run unattended: a fatal reader error ends it with the reader's status after
// its "ERROR" box, a file named on the command line opens by its kind, a normal run ends with 0.
#include <QProcess>
#include <algorithm>

#include "tests/ui/ui_fixture.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"

namespace {

// Runs the script on the test's display, or on `display` ("" for none), opening file if given;
// gives the exit status and the standard error.
std::pair<int, std::string> run_meshlook(const std::string& script, const std::string& file = {},
                                         const char* display = nullptr) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MESHLOOK_SCRIPT", QString::fromStdString(script));
    env.insert("QT_QPA_PLATFORM", "xcb");
    if (display && *display)
        env.insert("DISPLAY", display);
    else if (display)
        env.remove("DISPLAY");
    program.setProcessEnvironment(env);
    program.start(MESHLOOK_EXECUTABLE,
                  file.empty() ? QStringList() : QStringList{QString::fromStdString(file)});
    EXPECT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), program.readAllStandardError().toStdString()};
}

using ProgramRunTest = CoreTest;

TEST_F(ProgramRunTest, EndsWithTheReadersStatusOnAFatalErrorAndOpensAFileByItsKind) {
    OofChunk unknown{"ZZZZ", {1, 2, 3, 4}, std::nullopt};
    struct Case {
        std::string script, file;
        int status;
        std::string error;
    } cases[] = {
        {"40003 " + dir.write("ships.hog", build_hog({{"bad.oof", build_oof(2300, {unknown})}})),
         "", 5, "ERROR: Oof data is bad, unknown datatype... ouch"},
        {"40019", "", 0, "About: Meshlook\nVersion "},
        // A polymodel and an archive are known by their magic, whatever their extension.
        {"40020", dir.write("model.dat", oof_panel_model()), 0,
         "Oof Information: Oof Name: model.dat\n"},
        {"40020", dir.write("ships.bin", build_hog({{"a.oof", oof_panel_model()}})), 0,
         "  1/1 Oof Name: a.oof"},
        {"40020", dir.write("room.orf", orf_sample_room()), 0, "Total Polygons 3\n"},
        {"40020", dir.write("hull.cob", cob_two_group_model()), 0, "Total Polygons 2\n"},
        // A file that is not what its name says gets the reader's message and status.
        {"", dir.write("bad2.hog", {'H', 'O', 'G', '3'}), 254, "ERROR: Bad hog file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script + " " + c.file);
        auto [status, errors] =
            run_meshlook((c.script.empty() ? "" : c.script + ";") + "quit", c.file);
        EXPECT_EQ(status, c.status);
        EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
    }
}

TEST_F(ProgramRunTest, WithoutADisplayItSaysSoInOneLineAndEndsWithOne) {
    for (const char* display : {"", ":97"}) {
        auto [status, errors] = run_meshlook("40019;quit", {}, display);
        EXPECT_EQ(status, 1) << display;
        EXPECT_EQ(errors.find("meshlook: cannot open the display "), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
}

} // namespace
