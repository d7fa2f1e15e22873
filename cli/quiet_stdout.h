// QuietStdout: standard output sent to /dev/null while it lives. The trueSpace importer reports
// each object there; in meshlook-cli (and its benchmarks) that output is the command's own
// (JSON, listings), so the lines are dropped while it reads.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

class QuietStdout {
  public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDOUT_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

  private:
    int saved_;
};
