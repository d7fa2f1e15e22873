// Fuzz harness helpers shared by every target.
#include "fuzz/fuzz_reader.h"

#include "state/recording_sink.h"
#include "tests/support/test_globals.h"

void run_refusable(const std::function<void()>& read) {
    static RecordingSink sink;
    sink.boxes.clear();
    reset_globals();
    install_message_sink(&sink);
    try {
        read();
    } catch (const ProgramExit&) {
        // A refusal with its message is a correct outcome for hostile input.
    }
}
