// The command-line message sink.
#include "cli/cli_sink.h"

#include <cstdio>

#include "cli/progress.h"

CliSink cli_sink;

void CliSink::show(const char* caption, const char* text, BoxIcon) {
    std::fflush(stdout);
    clear_progress_line();
    if (source_.empty())
        std::fprintf(stderr, "meshlook-cli: %s: %s\n", caption, text);
    else
        std::fprintf(stderr, "meshlook-cli: %s: %s: %s\n", source_.c_str(), caption, text);
}

void CliSink::stop(int exit_status) {
    throw ReaderStop{exit_status};
}

void report(const std::string& text) {
    std::fflush(stdout);
    clear_progress_line();
    std::fprintf(stderr, "meshlook-cli: %s\n", text.c_str());
}
