// The GL context the model's objects live in, made current right before each GL step.
#pragma once

#include <functional>

// Installs what makes the model's context current; an empty function (the default) does
// nothing, for callers that keep one context current throughout (tests, headless drawing).
void install_gl_current(std::function<void()> make_current);

// Makes the model's context current. Every entry point of the renderer that issues GL calls
// starts with it, so a file dialog or message box that ran its own event loop (and left
// another context current) in the middle of a command cannot misdirect the next GL step.
void make_gl_current();
