// The progress line of a batch command, shown on standard error only when that is a terminal.
#pragma once

#include <string>

class ProgressLine {
  public:
    explicit ProgressLine(size_t total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Shows "verb n/total name" in place of the previous line.
    void show(size_t n, const std::string& verb, const std::string& name);

  private:
    size_t total_;
    bool shown_;
};

// Clears a progress line in the way before a message is printed on standard error.
void clear_progress_line();
