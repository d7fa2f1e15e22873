// Work that waits for the window's first frame: the file named on the command line and the
// unattended run of MESHLOOK_SCRIPT.
#include "ui/window/scripted_run.h"

#include <QTimer>
#include <memory>

#include "ui/window/main_window.h"
#include "ui/window/model_view.h"

void after_first_frame(MainWindow& window, std::function<void()> work) {
    auto started = std::make_shared<bool>(false);
    QObject::connect(window.model_view(), &QOpenGLWidget::frameSwapped, &window,
                     [&window, work, started] {
                         if (*started)
                             return;
                         *started = true;
                         // Queued, so the first paint finishes before any command runs.
                         QTimer::singleShot(0, &window, work);
                     });
}

void run_script_after_first_frame(MainWindow& window, ScriptedFilePicker& picker,
                                  std::vector<ScriptStep> steps) {
    after_first_frame(window, [&window, &picker, steps] {
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
}
