// Fuzz target: the HOG2 archive directory reader.
#include "archive/hog_index.h"
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] { load_hog_bytes({data, size}); });
    return 0;
}
