// What the dialogs ask of the main window, synchronously, through view.main_window.
#pragma once

class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;
    // Runs a menu command (40006 is the dialogs' Refresh request).
    virtual void command(int id) = 0;
    // Timer 1: 50 ms ticks that spin the "$rotate=" subobjects.
    virtual void start_spin_timer() = 0;
    virtual void kill_spin_timer() = 0;
};

// Forward to view.main_window; nothing happens while no main window is installed.
void send_main_command(int id);
void start_spin_timer();
void kill_spin_timer();
