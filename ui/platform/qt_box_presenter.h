// Modal Qt message boxes owned by a window (the main window, once it exists).
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/platform/box_presenter.h"

class QtBoxPresenter : public BoxPresenter {
  public:
    void set_owner(QWidget* owner) { owner_ = owner; }
    void present(const char* caption, const char* text, BoxIcon icon) override;

  private:
    QPointer<QWidget> owner_;
};
