// The Edit Window: the tab control with one page at a time and the two marker switches.
#pragma once

#include "ui/platform/dialog_controls.h"

constexpr int EDIT_TAB_COUNT = 7;

class EditWindowProcedure : public DialogProcedure {
  public:
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override;

  private:
    void show_switches();
    void request_redraw();
};
