// Message boxes behind an interface, so tests and scripted runs can answer them.
#pragma once

#include <QPointer>
#include <QWidget>

#include "state/messages.h"

class BoxPresenter {
  public:
    virtual ~BoxPresenter() = default;
    // Shows one box with an OK button and returns when it is dismissed.
    virtual void present(const char* caption, const char* text, BoxIcon icon) = 0;
};

// Modal Qt message boxes owned by a window (the main window, once it exists).
class QtBoxPresenter : public BoxPresenter {
  public:
    void set_owner(QWidget* owner) { owner_ = owner; }
    void present(const char* caption, const char* text, BoxIcon icon) override;

  private:
    QPointer<QWidget> owner_;
};
