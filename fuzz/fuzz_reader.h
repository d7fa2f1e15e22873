// Shared fuzz harness: hands input bytes to a file reader as a real file and treats a refusal
// (a message and a program stop, which the recording sink turns into an exception) as normal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Writes the input to a per-process file whose name ends in extension; returns its path.
std::string fuzz_input_file(const uint8_t* data, size_t size, const char* extension);

// Resets every global, installs the recording sink and runs read; a program stop is caught.
void run_refusable(const std::function<void()>& read);
