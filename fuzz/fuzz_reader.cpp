// Fuzz harness helpers shared by every target.
#include "fuzz/fuzz_reader.h"

#include <filesystem>
#include <unistd.h>

#include "state/recording_sink.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"

std::string fuzz_input_file(const uint8_t* data, size_t size, const char* extension) {
    static const std::filesystem::path folder = [] {
        auto base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                        : std::filesystem::temp_directory_path();
        auto dir = base / ("meshlook-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir;
    }();
    std::string path = (folder / (std::string("input") + extension)).string();
    write_whole_file(path, {data, data + size});
    return path;
}

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
