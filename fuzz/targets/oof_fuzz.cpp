// Fuzz target: the polymodel reader with the property-string derivation it runs.
#include "formats/oof_reader.h"
#include "fuzz/fuzz_reader.h"
#include "state/file_io.h"
#include "state/view_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] {
        copy_bounded(view.oof_path, PATH_LEN, fuzz_input_file(data, size, ".oof"));
        load_oof(0);
    });
    return 0;
}
