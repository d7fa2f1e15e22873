// UI test fixture: fresh globals, recorded boxes, scripted file dialogs and a real main window
// on the X server; builders for the archives and models the tests load.
#pragma once

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"
#include "ui/platform/qt_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/scripted_run.h"

// Colours of the test models' flat polygons.
constexpr uint8_t MODEL_RED = 230, MODEL_GREEN = 40, MODEL_BLUE = 40;

// A polymodel of one subobject: a 20 x 20 flat square in the z = 0 plane, drawn from both
// sides, and optionally a second subobject with the given property string.
std::vector<uint8_t> square_model(const std::string& second_props = "");
// The one-subobject square followed by the given chunks (point lists, for example).
std::vector<uint8_t> square_model_with(const std::vector<OofChunk>& chunks);
// The same square carrying texture "stripes" (an all-green 4 x 4 image, see green_texture).
std::vector<uint8_t> textured_square_model();
std::vector<uint8_t> green_texture();

class UiTest : public CoreTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the main window and waits for its first frame.
    MainWindow& open_window();
    // Runs a menu command whose file dialog answers with path.
    void command_with_file(int id, const std::string& path);
    // The view's frame as a person sees it (model and status caption).
    QImage frame();
    // Processes pending events, painting included.
    void settle();
    // Opens the Edit Window and chooses a tab with the mouse; returns the page shown.
    QtDialog& open_tab(int tab);
    // A click on a dialog's control, and a value typed into an edit field followed by Tab.
    void click(QtDialog& dialog, int id);
    void type_and_leave(QtDialog& dialog, int id, const QString& typed);

    ScriptedFilePicker picker;
    std::unique_ptr<MainWindow> window;
};
