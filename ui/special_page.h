// The special-point page of the Edit Window: name, properties, location and radius of one
// special point at a time.
#pragma once

#include "ui/platform/dialog_controls.h"

constexpr uint32_t SPECIAL_POINT_TAB = 4;

class SpecialPageProcedure : public DialogProcedure {
  public:
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override {}

  private:
    void show_record();
    void show_empty();
    void add_point();
    void delete_point();
    void take_field(int id);
};
