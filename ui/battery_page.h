// The "WBAT" page of the Edit Window: one weapon battery at a time, its gun points and turrets
// as check boxes, batteries added at the end and deleted with the later ones moving down.
#pragma once

#include "state/polymodel.h"
#include "ui/platform/dialog_controls.h"

constexpr uint32_t BATTERY_TAB = 5;   // the Edit Window tab of this page
constexpr uint32_t TURRET_BOXES = 30; // subobjects 0..29 can be chosen as turrets

class BatteryPageProcedure : public DialogProcedure {
  public:
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override {}

  private:
    // The current battery's members, rebuilt from the store at every refresh.
    bool gun_checked[MAX_PNT] = {};
    bool turret_checked[TURRET_BOXES] = {};
};
