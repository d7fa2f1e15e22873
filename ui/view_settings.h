// The View Settings window: what is loaded, the display switches without a menu entry, and
// stepping through the archive, the subobjects, the textures and the keyframes.
#pragma once

#include "ui/platform/dialog_controls.h"

class ViewSettingsProcedure : public DialogProcedure {
  public:
    void init(int code) override;
    void command(int id, int notify) override;
    void close() override;

  private:
    void show_switches();
    void show_nothing_loaded();
    void show_archive(int code);
    void show_subobject();
    void show_texture();
    void show_keyframe_count();
    void show_current_keyframe();
    bool step_group(int id, int notify);
    void pick_archive_row();
    bool toggle_switch(int id);
};
