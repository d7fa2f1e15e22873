// Meshlook: wires the message sink, the dialogs and the main window, and runs the event loop.
#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "render/memory_reuse.h"
#include "state/messages.h"
#include "ui/file_dialogs.h"
#include "ui/platform/qt_box_presenter.h"
#include "ui/platform/qt_file_picker.h"
#include "ui/window/gui_sink.h"
#include "ui/window/main_window.h"
#include "ui/window/scripted_run.h"

namespace {

QtMessageHandler default_handler = nullptr;

// While the application connects to the display, Qt's complaints about the platform are
// replaced by one line, and its abort on failure by exit status 1.
void report_display_failure(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "meshlook: cannot open the display %s; run it on a desktop or under "
                     "xvfb-run.\n",
                     display && *display ? display : "(DISPLAY is not set)");
        std::_Exit(1);
    }
    if (!QByteArray(context.category).startsWith("qt.qpa") && default_handler)
        default_handler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    prefer_large_pages_for_tables();
    keep_freed_memory_for_reuse();
    default_handler = qInstallMessageHandler(report_display_failure);
    QApplication app(argc, argv);
    qInstallMessageHandler(default_handler);
    QApplication::setApplicationName(QStringLiteral("Meshlook"));

    const char* script = std::getenv("MESHLOOK_SCRIPT");
    QtBoxPresenter qt_boxes;
    LoggingBoxPresenter logged_boxes;
    ScriptedFilePicker scripted_picker;
    QtFilePicker qt_picker;
    BoxPresenter& boxes = script ? static_cast<BoxPresenter&>(logged_boxes) : qt_boxes;
    GuiMessageSink sink(boxes);
    install_message_sink(&sink);
    install_file_picker(script ? static_cast<FilePicker*>(&scripted_picker) : &qt_picker);

    int status;
    {
        MainWindow window;
        qt_boxes.set_owner(&window);
        qt_picker.set_owner(&window);
        window.show();
        // "meshlook FILE": opened as the matching menu command would, before any script.
        QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1) {
            std::string path = QFile::encodeName(arguments[1]).toStdString();
            after_first_frame(window, [&window, path] { window.open_path(path); });
        }
        if (script)
            run_script_after_first_frame(window, scripted_picker, parse_script(script));
        status = QApplication::exec();
    }
    install_file_picker(nullptr);
    install_message_sink(nullptr);
    return status;
}
