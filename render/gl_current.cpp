// The installable "make the model's context current" step.
#include "render/gl_current.h"

#include <utility>

namespace {
std::function<void()> current_maker;
}

void install_gl_current(std::function<void()> make_current) {
    current_maker = std::move(make_current);
}

void make_gl_current() {
    if (current_maker)
        current_maker();
}
