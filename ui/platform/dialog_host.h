// Dialog windows as the procedures and the main window see them, and the host that makes,
// places and removes them. No toolkit types: tests hand procedures fakes of both.
#pragma once

#include <memory>

class DialogProcedure;

// One dialog window (a pop-up or a page inside another dialog) with its procedure.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;
    // Sends the window's procedure an init-dialog message, as the main window's refreshes do.
    virtual void init(int code) = 0;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;
    // A pop-up window from a template, owned by the main window; shown, then sent code 0.
    virtual DialogWindow* open_window(int template_id,
                                      std::unique_ptr<DialogProcedure> procedure) = 0;
    // A captionless page from a child template inside parent; shown, then sent code 0.
    virtual DialogWindow* open_page(DialogWindow& parent, int template_id,
                                    std::unique_ptr<DialogProcedure> procedure) = 0;
    // Places a page at (x, y) pixels of its parent's client area, keeping its size.
    virtual void move_page(DialogWindow& page, int x, int y) = 0;
    // Takes the window off the screen at once; the object goes when the current event is
    // done, since its own procedure may be the caller.
    virtual void destroy(DialogWindow* window) = 0;
    // The dialog that has the activation (nullptr: the main window or none), and giving it
    // back to one.
    virtual DialogWindow* active_window() const = 0;
    virtual void activate(DialogWindow* window) = 0;
};

// The host the procedures use; nullptr until the window layer installs one.
void install_dialog_host(DialogHost* host);
DialogHost* dialog_host();
