// The GUI message sink.
#include "ui/window/gui_sink.h"

#include <cstdio>
#include <cstdlib>

#include "render/gl_current.h"

void GuiMessageSink::show(const char* caption, const char* text, BoxIcon icon) {
    presenter_.present(caption, text, icon);
    make_gl_current(); // the box's event loop may have left another context current
}

void GuiMessageSink::stop(int exit_status) {
    std::fflush(nullptr);
    std::exit(exit_status);
}
