// Shared fuzz harness: hands input bytes to a reader's in-memory entry point and treats a
// refusal (a message and a program stop, which the recording sink turns into an exception) as
// normal.
#pragma once

#include <functional>

// Resets every global, installs the recording sink and runs read; a program stop is caught.
void run_refusable(const std::function<void()>& read);
