// The unattended run of MESHLOOK_SCRIPT.
#include "ui/scripted_run.h"

#include <QTimer>
#include <cstdio>
#include <sstream>

#include "ui/main_window.h"
#include "ui/model_view.h"

std::string ScriptedFilePicker::pick(QWidget*, FileDialogMode, const char*,
                                     std::span<const FileFilter>) {
    if (paths_.empty())
        return {};
    std::string path = std::move(paths_.front());
    paths_.pop_front();
    return path;
}

void LoggingBoxPresenter::present(const char* caption, const char* text, BoxIcon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
}

std::vector<ScriptStep> parse_script(const std::string& text) {
    std::vector<ScriptStep> steps;
    std::stringstream all(text);
    std::string item;
    while (std::getline(all, item, ';')) {
        std::stringstream words(item);
        std::string first;
        if (!(words >> first))
            continue;
        ScriptStep step;
        if (first == "quit") {
            step.quit = true;
        } else {
            try {
                step.command = std::stoi(first);
            } catch (...) {
                continue;
            }
            std::getline(words >> std::ws, step.path);
        }
        steps.push_back(step);
    }
    return steps;
}

void run_script_after_first_frame(MainWindow& window, ScriptedFilePicker& picker,
                                  std::vector<ScriptStep> steps) {
    auto started = std::make_shared<bool>(false);
    QObject::connect(window.model_view(), &QOpenGLWidget::frameSwapped, &window,
                     [&window, &picker, steps, started] {
                         if (*started)
                             return;
                         *started = true;
                         // Queued, so the first paint finishes before any command runs.
                         QTimer::singleShot(0, &window, [&window, &picker, steps] {
                             for (const ScriptStep& step : steps) {
                                 if (step.quit) {
                                     window.close();
                                     return;
                                 }
                                 if (!step.path.empty())
                                     picker.push(step.path);
                                 window.command(step.command);
                             }
                         });
                     });
}
