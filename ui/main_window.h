// The main window: menu 101, the model view, command dispatch and the modeless dialogs.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>

class QAction;
class QKeyEvent;
class QMouseEvent;
class ModelView;
class QtDialog;

class MainWindow : public QMainWindow {
  public:
    MainWindow();
    ~MainWindow() override;

    // A menu command by ID; IDs without a command do nothing.
    void command(int id);

    void key_pressed(const QKeyEvent& event);
    void mouse_moved(const QMouseEvent& event);
    void wheel_turned(int angle_delta);
    void start_spin_timer() { spin_timer_.start(); }
    void kill_spin_timer() { spin_timer_.stop(); }

    QAction* menu_action(int id) const;
    ModelView* model_view() const { return view_widget_; }
    QTimer& spin_timer() { return spin_timer_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void open_sequence(int kind);
    void import_sequence(int kind, void (*read)());
    void export_model(int kind, bool (*write)());
    void import_cob();
    void import_orf();
    void export_oof();
    void export_orf();
    void next_polymodel();
    void refresh();
    void reload();
    void toggle_color();
    void toggle_switch(int id, int32_t& flag);
    void toggle_background(int id, int32_t& flag, float& component);
    void toggle_dialog(int id, int template_id, int32_t& open_flag, void*& handle);
    void destroy_dialog(void*& handle);
    void show_polymodel_info();

    void apply_effects(uint32_t effects);
    void put_back_start_rot();
    void update_info_item();
    void set_check(int id, bool checked);
    void notify_settings(int code);
    void notify_page();
    void project();
    void rebuild();
    void redraw();

    ModelView* view_widget_;
    std::map<int, QAction*> actions_;
    QTimer spin_timer_;
    void (*import_reader_)() = nullptr; // the reader of the shown model when it was imported
};
