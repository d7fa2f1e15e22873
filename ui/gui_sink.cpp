// The GUI message sink.
#include "ui/gui_sink.h"

#include <cstdio>
#include <cstdlib>

void GuiMessageSink::show(const char* caption, const char* text, BoxIcon icon) {
    presenter_.present(caption, text, icon);
}

void GuiMessageSink::stop(int exit_status) {
    std::fflush(nullptr);
    std::exit(exit_status);
}
