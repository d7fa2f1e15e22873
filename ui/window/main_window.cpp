// The main window: creation with its start values, menu, input routing, and the GL and
// window work that the commands' effects ask for.
#include "ui/window/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/texture_loader.h"
#include "state/view_state.h"
#include "ui/commands.h"
#include "ui/load_sequences.h"
#include "ui/platform/qt_menu.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/view_input.h"
#include "ui/window/model_view.h"
#include "ui/window/window_icon.h"

MainWindow::MainWindow() {
    static const ViewState start_values{};
    view = start_values;
    forget_gl_objects();
    follow_loaded_source();
    forget_import_reader();

    setWindowTitle(QStringLiteral("Meshlook"));
    setWindowIcon(make_window_icon());
    actions_ = build_menu_bar(menuBar(), main_menu(), checked_menu_commands(),
                              [this](int id) { command(id); });
    show_menu_state();

    view_widget_ = new ModelView(*this);
    setCentralWidget(view_widget_);
    view_widget_->setFocus(); // keys work from the start, without a click into the picture
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAcceptDrops(true);
    move(50, 50);
    resize(400, 400);

    spin_timer_.setInterval(50);
    connect(&spin_timer_, &QTimer::timeout, this, [this] { apply_effects(timer_tick()); });
    view.main_window = this;
    install_dialog_host(&dialog_host_);
}

MainWindow::~MainWindow() {
    close_dialogs();
    if (view.main_window == this)
        view.main_window = nullptr;
    if (dialog_host() == &dialog_host_)
        install_dialog_host(nullptr);
}

// Closing the window (or Exit) ends the run; the modeless windows go with it.
void MainWindow::closeEvent(QCloseEvent* event) {
    spin_timer_.stop();
    close_dialogs();
    event->accept();
}

void MainWindow::close_dialogs() {
    for (DialogWindow** window :
         {&view.edit_page_window, &view.edit_window, &view.view_settings_window}) {
        dialog_host_.destroy(*window);
        *window = nullptr;
    }
}

void MainWindow::open_path(const std::string& path) {
    apply_effects(::open_path(path));
    show_menu_state();
}

namespace {

// The one local file a drag carries, or "" when it carries anything else.
std::string dragged_file(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls()[0].isLocalFile())
        return {};
    return QFile::encodeName(data->urls()[0].toLocalFile()).toStdString();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!dragged_file(event->mimeData()).empty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::string path = dragged_file(event->mimeData());
    if (path.empty())
        return;
    event->acceptProposedAction();
    open_path(path);
}

void MainWindow::command(int id) {
    apply_effects(run_command(id));
    show_menu_state();
}

QAction* MainWindow::menu_action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

// Check marks follow their switches; "Polymodel Info" is enabled exactly while a model is
// loaded.
void MainWindow::show_menu_state() {
    for (int id : checked_menu_commands())
        if (QAction* action = menu_action(id))
            action->setChecked(menu_checked(id));
    menu_action(CMD_POLYMODEL_INFO)->setEnabled(view.model_loaded != 0);
}

void MainWindow::apply_effects(uint32_t effects) {
    if (effects & effect_close)
        close();
    if (effects & effect_next)
        command(CMD_NEXT);
    if (effects & effect_previous)
        command(CMD_PREVIOUS);
    if (effects & effect_release_textures)
        release_textures();
    if (effects & effect_load_textures)
        load_textures();
    notify_dialogs(effects);
    if (effects & effect_project)
        set_projection(view.view_width, view.view_height);
    if (effects & effect_rebuild)
        rebuild_model_lists();
    if (effects & effect_redraw)
        view_widget_->update();
}

namespace {

ViewKey view_key(const QKeyEvent& event) {
    // Digits count only on the main row, not on the keypad.
    bool keypad = event.modifiers() & Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Left:
        return ViewKey::left;
    case Qt::Key_Right:
        return ViewKey::right;
    case Qt::Key_Up:
        return ViewKey::up;
    case Qt::Key_Down:
        return ViewKey::down;
    case Qt::Key_S:
        return ViewKey::s;
    case Qt::Key_D:
        return ViewKey::d;
    case Qt::Key_F:
        return ViewKey::f;
    case Qt::Key_E:
        return ViewKey::e;
    case Qt::Key_C:
        return ViewKey::c;
    case Qt::Key_N:
        return ViewKey::n;
    case Qt::Key_P:
        return ViewKey::p;
    case Qt::Key_0:
        return keypad ? ViewKey::other : ViewKey::digit0;
    case Qt::Key_9:
        return keypad ? ViewKey::other : ViewKey::digit9;
    case Qt::Key_8:
        return keypad ? ViewKey::other : ViewKey::digit8;
    default:
        return ViewKey::other;
    }
}

} // namespace

void MainWindow::key_pressed(const QKeyEvent& event) {
    apply_effects(key_down(view_key(event)));
}

void MainWindow::mouse_moved(const QMouseEvent& event) {
    QPoint at = event.position().toPoint();
    MouseState mouse{at.x(),
                     at.y(),
                     (event.modifiers() & Qt::ControlModifier) != 0,
                     (event.modifiers() & Qt::ShiftModifier) != 0,
                     (event.buttons() & Qt::LeftButton) != 0,
                     (event.buttons() & Qt::RightButton) != 0};
    apply_effects(mouse_move(mouse));
}

void MainWindow::wheel_turned(int angle_delta) {
    apply_effects(::wheel_turned(angle_delta));
}
