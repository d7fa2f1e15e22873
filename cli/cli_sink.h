// The command-line message sink: boxes become lines on standard error naming the file at work,
// and a fatal stop unwinds to the command, which ends the program or goes on with the next entry.
#pragma once

#include <string>

#include "state/messages.h"

// Thrown by the sink's stop with the status the viewer would have ended with.
struct ReaderStop {
    int status;
};

class CliSink : public MessageSink {
  public:
    void show(const char* caption, const char* text, BoxIcon icon) override;
    [[noreturn]] void stop(int exit_status) override;

    // The file or archive entry the next messages are about.
    void set_source(std::string source) { source_ = std::move(source); }

  private:
    std::string source_;
};

extern CliSink cli_sink;

// Prints "meshlook-cli: text" on standard error.
void report(const std::string& text);
