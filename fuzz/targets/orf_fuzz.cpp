// Fuzz target: the room reader.
#include "formats/orf_reader.h"
#include "fuzz/fuzz_reader.h"
#include "state/file_io.h"
#include "state/view_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] {
        copy_bounded(view.import_path, PATH_LEN, fuzz_input_file(data, size, ".orf"));
        load_orf();
    });
    return 0;
}
