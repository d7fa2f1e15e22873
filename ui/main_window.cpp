// The main window: creation with its start values, menu, input routing and the dialog host.
#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "state/view_state.h"
#include "ui/main_window_link.h"
#include "ui/model_view.h"
#include "ui/plain_dialog.h"
#include "ui/platform/qt_dialog.h"
#include "ui/platform/qt_menu.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/view_input.h"
#include "ui/window_icon.h"

MainWindow::MainWindow() {
    static const ViewState start_values{};
    view = start_values;
    forget_gl_objects();
    follow_loaded_source();

    setWindowTitle(QStringLiteral("Meshlook"));
    setWindowIcon(make_window_icon());
    actions_ = build_menu_bar(menuBar(), main_menu(), checked_menu_commands(),
                              [this](int id) { command(id); });
    for (int id : {CMD_LINE_POLY, CMD_CULL_FACE, CMD_SIZE2POLY, CMD_COLOR, CMD_SMOOTH})
        set_check(id, true);
    menu_action(CMD_POLYMODEL_INFO)->setEnabled(false);

    view_widget_ = new ModelView(*this);
    setCentralWidget(view_widget_);
    view_widget_->setFocus(); // keys work from the start, without a click into the picture
    setAttribute(Qt::WA_DeleteOnClose, false);
    move(50, 50);
    resize(400, 400);

    spin_timer_.setInterval(50);
    connect(&spin_timer_, &QTimer::timeout, this, [this] { apply_effects(timer_tick()); });
    view.main_window = this;
}

MainWindow::~MainWindow() {
    destroy_dialog(view.view_settings_window);
    destroy_dialog(view.edit_window);
    if (view.main_window == this)
        view.main_window = nullptr;
}

// Closing the window (or Exit) ends the run; the modeless windows go with it.
void MainWindow::closeEvent(QCloseEvent* event) {
    spin_timer_.stop();
    destroy_dialog(view.view_settings_window);
    destroy_dialog(view.edit_window);
    event->accept();
}

QAction* MainWindow::menu_action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::set_check(int id, bool checked) {
    if (QAction* action = menu_action(id))
        action->setChecked(checked);
}

void MainWindow::update_info_item() {
    menu_action(CMD_POLYMODEL_INFO)->setEnabled(view.model_loaded != 0);
}

void MainWindow::put_back_start_rot() {
    view.rot_x = START_ROT;
    view.rot_y = START_ROT;
}

void MainWindow::notify_settings(int code) {
    if (view.view_settings_open && view.view_settings_window)
        static_cast<QtDialog*>(view.view_settings_window)->init(code);
}

void MainWindow::notify_page() {
    if (view.edit_window_open && view.edit_page_window)
        static_cast<QtDialog*>(view.edit_page_window)->init(INIT_FULL);
}

void MainWindow::project() {
    set_projection(view.view_width, view.view_height);
}

void MainWindow::rebuild() {
    rebuild_model_lists();
}

void MainWindow::redraw() {
    view_widget_->update();
}

void MainWindow::apply_effects(uint32_t effects) {
    if (effects & effect_next)
        command(CMD_NEXT);
    if (effects & effect_previous)
        command(CMD_PREVIOUS);
    if (effects & effect_notify_keyframe)
        notify_settings(INIT_KEYFRAME_ONLY);
    if (effects & effect_project)
        project();
    if (effects & effect_rebuild)
        rebuild();
    if (effects & effect_redraw)
        redraw();
    if (effects & effect_notify_page)
        notify_page();
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

void MainWindow::toggle_dialog(int id, int template_id, int32_t& open_flag, void*& handle) {
    open_flag = !open_flag;
    if (open_flag) {
        destroy_dialog(handle);
        auto* dialog = new QtDialog(*find_dialog_template(template_id),
                                    std::make_unique<PlainDialogProcedure>(id), this);
        handle = dialog;
        dialog->start();
    } else {
        destroy_dialog(handle);
    }
    set_check(id, open_flag != 0);
}

// The window goes at once from the screen; the object goes when the current event is done,
// since its own procedure may be the caller. The handle is cleared so nothing uses it again.
void MainWindow::destroy_dialog(void*& handle) {
    if (!handle)
        return;
    auto* dialog = static_cast<QtDialog*>(handle);
    if (handle == view.edit_window)
        view.edit_page_window = nullptr; // a page lives inside the Edit Window
    dialog->hide();
    dialog->deleteLater();
    handle = nullptr;
}

void send_main_command(int id) {
    if (auto* window = static_cast<MainWindow*>(view.main_window))
        window->command(id);
}

void start_spin_timer() {
    if (auto* window = static_cast<MainWindow*>(view.main_window))
        window->start_spin_timer();
}

void kill_spin_timer() {
    if (auto* window = static_cast<MainWindow*>(view.main_window))
        window->kill_spin_timer();
}
