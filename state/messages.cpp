// The message sink switch and the default sink for programs without a window.
#include "state/messages.h"

#include <cstdio>
#include <cstdlib>

namespace {

class StderrSink : public MessageSink {
  public:
    void show(const char* caption, const char* text, BoxIcon) override {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }
    [[noreturn]] void stop(int exit_status) override { std::exit(exit_status); }
};

StderrSink stderr_sink;
MessageSink* current_sink = &stderr_sink;

} // namespace

void install_message_sink(MessageSink* sink) {
    current_sink = sink ? sink : &stderr_sink;
}

void message_box(const char* caption, const char* text, BoxIcon icon) {
    current_sink->show(caption, text, icon);
}

void fatal_error(const char* text, int exit_status) {
    current_sink->show("ERROR", text, BoxIcon::none);
    current_sink->stop(exit_status);
    std::abort(); // a sink's stop never returns
}
