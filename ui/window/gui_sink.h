// The message sink of the running program: boxes owned by the main window, fatal stops
// that end the process.
#pragma once

#include "state/messages.h"
#include "ui/platform/box_presenter.h"

class GuiMessageSink : public MessageSink {
  public:
    explicit GuiMessageSink(BoxPresenter& presenter) : presenter_(presenter) {}
    void show(const char* caption, const char* text, BoxIcon icon) override;
    // Ends the process; -2 reaches the shell as 254.
    [[noreturn]] void stop(int exit_status) override;

  private:
    BoxPresenter& presenter_;
};
