// UI test fixture: fresh globals, recorded boxes, scripted file dialogs and a real main window
// on the X server; the builders of the files the tests load.
#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>
#include <string>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/sample_shapes.h"
#include "tools/small_models.h"
#include "ui/control_ids.h"
#include "ui/platform/qt_dialog.h"
#include "ui/script.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/window/main_window.h"
#include "ui/window/model_view.h"

// Pixels above the status caption that are not black.
int lit_pixels(const QImage& image);

class UiTest : public CoreTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the main window and waits for its first frame.
    MainWindow& open_window();
    // Runs a menu command whose file dialog answers with path.
    void command_with_file(int id, const std::string& path);
    QImage frame() { return window->model_view()->grabFramebuffer(); } // as a person sees it
    void settle(); // processes pending events, painting included
    // Opens the Edit Window and chooses a tab with the mouse; returns the page shown.
    QtDialog& open_tab(int tab);
    // A click on a dialog's control, and a value typed into an edit field followed by Tab.
    void click(QtDialog& dialog, int id);
    void type_and_leave(QtDialog& dialog, int id, const QString& typed);

    ScriptedFilePicker picker;
    std::unique_ptr<MainWindow> window;
};
