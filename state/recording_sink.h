// A message sink that records every box and turns a fatal stop into a ProgramExit exception,
// so tests and fuzz targets can see the message and status without the process ending.
#pragma once

#include <string>
#include <vector>

#include "state/messages.h"

struct ProgramExit {
    int status;
};

struct RecordedBox {
    std::string caption;
    std::string text;
    BoxIcon icon;
};

class RecordingSink : public MessageSink {
  public:
    void show(const char* caption, const char* text, BoxIcon icon) override {
        boxes.push_back({caption, text, icon});
    }
    [[noreturn]] void stop(int exit_status) override { throw ProgramExit{exit_status}; }

    std::vector<RecordedBox> boxes;
};
