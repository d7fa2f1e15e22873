// Fuzz target: the HOG2 archive directory reader.
#include "archive/hog_index.h"
#include "fuzz/fuzz_reader.h"
#include "state/file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] {
        copy_bounded(hog.hog_path, PATH_LEN, fuzz_input_file(data, size, ".hog"));
        load_hog();
    });
    return 0;
}
