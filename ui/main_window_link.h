// What the dialogs ask of the main window, synchronously, through view.main_window.
#pragma once

// Runs a menu command of the main window (40006 is the dialogs' Refresh request).
void send_main_command(int id);

// Timer 1 of the main window: 50 ms ticks that spin the "$rotate=" subobjects.
void start_spin_timer();
void kill_spin_timer();
