// QtDialog: a real Qt window built from a dialog template, driving a dialog procedure.
#pragma once

#include <QWidget>
#include <map>
#include <memory>

#include "ui/platform/dialog_controls.h"
#include "ui/platform/dialog_host.h"
#include "ui/platform/dialog_template.h"

class QTabBar;

class QtDialog : public QWidget, public DialogControls, public DialogWindow {
  public:
    // A popup template becomes a window owned by `owner` (placed relative to the owner's
    // top-left corner); a child template becomes a page inside `owner`.
    QtDialog(const DialogTemplate& tmpl, std::unique_ptr<DialogProcedure> procedure,
             QWidget* owner);
    ~QtDialog() override;

    // Shows the window and sends the procedure its first init-dialog code 0.
    void start();
    // Sends the procedure an init-dialog message, as the main window's refreshes do.
    void init(int code) override { procedure_->init(code); }

    QWidget* control(int id) const;
    // Pixels of one horizontal and one vertical dialog unit times 4 and 8 (the font's
    // average character width and height).
    double base_x() const { return base_x_; }
    double base_y() const { return base_y_; }
    QRect to_pixels(int x, int y, int w, int h) const;

    void set_text(int id, const std::string& text) override;
    std::string text(int id, int max_chars) const override;
    void enable(int id, bool enabled) override;
    bool enabled(int id) const override;
    void check(int id, bool checked) override;
    bool checked(int id) const override;
    void clear_rows(int id) override;
    void add_row(int id, const std::string& text) override;
    int row_count(int id) const override;
    void select_row(int id, int row) override;
    int selected_row(int id) const override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* build_control(const ControlTemplate& c);
    void connect_control(const ControlTemplate& c, QWidget* widget);

    std::unique_ptr<DialogProcedure> procedure_;
    std::map<int, QWidget*> controls_;
    double base_x_ = 0;
    double base_y_ = 0;
};
