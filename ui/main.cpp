// Meshlook: wires the message sink, the dialogs and the main window, and runs the event loop.
#include <QApplication>
#include <cstdlib>

#include "state/messages.h"
#include "ui/file_dialogs.h"
#include "ui/gui_sink.h"
#include "ui/main_window.h"
#include "ui/scripted_run.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Meshlook"));

    const char* script = std::getenv("MESHLOOK_SCRIPT");
    QtBoxPresenter qt_boxes;
    LoggingBoxPresenter logged_boxes;
    ScriptedFilePicker scripted_picker;
    BoxPresenter& boxes = script ? static_cast<BoxPresenter&>(logged_boxes) : qt_boxes;
    GuiMessageSink sink(boxes);
    install_message_sink(&sink);
    if (script)
        install_file_picker(&scripted_picker);

    int status;
    {
        MainWindow window;
        qt_boxes.set_owner(&window);
        window.show();
        if (script)
            run_script_after_first_frame(window, scripted_picker, parse_script(script));
        status = QApplication::exec();
    }
    install_file_picker(nullptr);
    install_message_sink(nullptr);
    return status;
}
