// The progress line: rewritten in place with a carriage return, cleared before any message.
#include "cli/progress.h"

#include <cstdio>
#include <unistd.h>

namespace {

bool line_pending = false;

} // namespace

ProgressLine::ProgressLine(size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    clear_progress_line();
}

void ProgressLine::show(size_t n, const std::string& verb, const std::string& name) {
    if (!shown_)
        return;
    std::fprintf(stderr, "\r%s %zu/%zu %s\033[K", verb.c_str(), n, total_, name.c_str());
    std::fflush(stderr);
    line_pending = true;
}

void clear_progress_line() {
    if (!line_pending)
        return;
    std::fputs("\r\033[K", stderr);
    line_pending = false;
}
