// The dialog procedure of a window whose own behaviour is not there yet: it shows its
// template and, on the close box, asks the main window to close it through its menu command.
#pragma once

#include "ui/platform/dialog_controls.h"

class PlainDialogProcedure : public DialogProcedure {
  public:
    explicit PlainDialogProcedure(int close_command) : close_command_(close_command) {}
    void init(int) override {}
    void command(int, int) override {}
    void close() override;

  private:
    int close_command_;
};
