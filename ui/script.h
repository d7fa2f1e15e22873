// Unattended runs: MESHLOOK_SCRIPT lists menu commands, each optionally with the path its file
// dialog answers, separated by ';', and "quit" to close the window, e.g.
//   MESHLOOK_SCRIPT="40003 samples/demo.hog;40005"
// Boxes are written to standard error instead of waiting for a click. Used for screenshots
// and for tests that run the real program.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/platform/box_presenter.h"
#include "ui/platform/file_picker.h"

// Answers file dialogs from a queue of paths; an empty queue answers as a cancel.
class ScriptedFilePicker : public FilePicker {
  public:
    void push(std::string path) { paths_.push_back(std::move(path)); }
    std::string pick(FileDialogMode mode, const char* title,
                     std::span<const FileFilter> filters) override;

  private:
    std::deque<std::string> paths_;
};

// Writes each box to standard error as "caption: text" and goes on.
class LoggingBoxPresenter : public BoxPresenter {
  public:
    void present(const char* caption, const char* text, BoxIcon icon) override;
};

struct ScriptStep {
    int command = 0;  // 0 with quit set: close the window
    std::string path; // answer of the command's file dialog, if any
    bool quit = false;
};

// The steps of a script text; unreadable steps are skipped.
std::vector<ScriptStep> parse_script(const std::string& text);
