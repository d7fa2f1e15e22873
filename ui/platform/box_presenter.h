// Message boxes behind an interface, so tests and scripted runs can answer them.
#pragma once

#include "state/messages.h"

class BoxPresenter {
  public:
    virtual ~BoxPresenter() = default;
    // Shows one box with an OK button and returns when it is dismissed.
    virtual void present(const char* caption, const char* text, BoxIcon icon) = 0;
};
