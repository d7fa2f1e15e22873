// The main window: menu 101, the model view, and the effects of the commands it runs.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <string>

#include "ui/main_window_link.h"
#include "ui/platform/qt_dialog_host.h"

class QAction;
class QKeyEvent;
class QMouseEvent;
class ModelView;

class MainWindow : public QMainWindow, public MainWindowLink {
  public:
    MainWindow();
    ~MainWindow() override;

    // A menu command by ID; IDs without a command do nothing.
    void command(int id) override;
    void start_spin_timer() override { spin_timer_.start(); }
    void kill_spin_timer() override { spin_timer_.stop(); }

    void key_pressed(const QKeyEvent& event);
    void mouse_moved(const QMouseEvent& event);
    void wheel_turned(int angle_delta);
    // Opens a file given on the command line or dropped on the window.
    void open_path(const std::string& path);

    QAction* menu_action(int id) const;
    ModelView* model_view() const { return view_widget_; }
    QTimer& spin_timer() { return spin_timer_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void apply_effects(uint32_t effects);
    void show_menu_state();
    void close_dialogs();

    ModelView* view_widget_;
    std::map<int, QAction*> actions_;
    QTimer spin_timer_;
    QtDialogHost dialog_host_{*this};
};
