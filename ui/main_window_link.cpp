// The dialogs' link to the main window and the installed dialog host.
#include "ui/main_window_link.h"

#include "state/view_state.h"
#include "ui/platform/dialog_host.h"

namespace {
DialogHost* installed_host = nullptr;
}

void send_main_command(int id) {
    if (view.main_window)
        view.main_window->command(id);
}

void start_spin_timer() {
    if (view.main_window)
        view.main_window->start_spin_timer();
}

void kill_spin_timer() {
    if (view.main_window)
        view.main_window->kill_spin_timer();
}

void install_dialog_host(DialogHost* host) {
    installed_host = host;
}

DialogHost* dialog_host() {
    return installed_host;
}
