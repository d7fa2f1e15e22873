// User messages: boxes that continue and fatal stops, all through one installable sink.
#pragma once

enum class BoxIcon { none, information, error };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void show(const char* caption, const char* text, BoxIcon icon) = 0;
    // Ends the program (or, in tests and fuzzing, unwinds as if it had).
    [[noreturn]] virtual void stop(int exit_status) = 0;
};

// Installs a sink; nullptr puts back the default, which writes to stderr and exits.
void install_message_sink(MessageSink* sink);

void message_box(const char* caption, const char* text, BoxIcon icon = BoxIcon::none);

// Shows text in an "ERROR" box, then ends the program with exit_status.
[[noreturn]] void fatal_error(const char* text, int exit_status);
