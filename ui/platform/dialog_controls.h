// What a dialog procedure sees of its window: controls addressed by ID, and the procedure
// interface the window host calls.
#pragma once

#include <string>

// Notification codes passed to DialogProcedure::command.
constexpr int NOTIFY_CLICKED = 0;
constexpr int NOTIFY_SELECTION_CHANGED = 1; // combo box row chosen, tab switched
constexpr int NOTIFY_LOST_FOCUS = 0x0200;   // an edit field gave up the input focus

// Init-dialog codes sent by the main window to the View Settings procedure.
constexpr int INIT_FULL = 0;
constexpr int INIT_KEYFRAME_ONLY = 1;
constexpr int INIT_KEEP_LIST = 2;

class DialogControls {
  public:
    virtual ~DialogControls() = default;
    virtual void set_text(int id, const std::string& text) = 0;
    // At most max_chars characters of the control's text.
    virtual std::string text(int id, int max_chars) const = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual bool enabled(int id) const = 0;
    virtual void check(int id, bool checked) = 0;
    virtual bool checked(int id) const = 0;
    // Rows of a combo box, or the tabs of a tab control.
    virtual void clear_rows(int id) = 0;
    virtual void add_row(int id, const std::string& text) = 0;
    virtual int row_count(int id) const = 0;
    virtual void select_row(int id, int row) = 0;
    virtual int selected_row(int id) const = 0; // -1: none
};

class DialogWindow;

// A dialog's behaviour: plain C++ over the globals, unaware of the toolkit.
class DialogProcedure {
  public:
    virtual ~DialogProcedure() = default;
    // The window's controls and the window itself, bound once before the first init.
    void bind(DialogControls* controls, DialogWindow* window) {
        controls_ = controls;
        window_ = window;
    }
    virtual void init(int code) = 0;
    virtual void command(int id, int notify) = 0;
    virtual void close() = 0;

  protected:
    DialogControls& controls() { return *controls_; }
    DialogWindow& window() { return *window_; }

  private:
    DialogControls* controls_ = nullptr;
    DialogWindow* window_ = nullptr;
};
