// The "SOBJ" page of the Edit Window: the current subobject, shared with the View Settings
// window, its name and its property string, interpreted again at every change.
#pragma once

#include "ui/platform/dialog_controls.h"

class SubmodelPageProcedure : public DialogProcedure {
  public:
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override {}

  private:
    void toggle_highlight();
    void store_text(int id);
};
