// The dialog host of the real program: QtDialog windows owned by the main window.
#pragma once

#include <QWidget>

#include "ui/platform/dialog_host.h"

class QtDialogHost : public DialogHost {
  public:
    explicit QtDialogHost(QWidget& owner) : owner_(owner) {}
    DialogWindow* open_window(int template_id, std::unique_ptr<DialogProcedure> procedure) override;
    DialogWindow* open_page(DialogWindow& parent, int template_id,
                            std::unique_ptr<DialogProcedure> procedure) override;
    void move_page(DialogWindow& page, int x, int y) override;
    void destroy(DialogWindow* window) override;
    DialogWindow* active_window() const override;
    void activate(DialogWindow* window) override;

  private:
    QWidget& owner_;
};
