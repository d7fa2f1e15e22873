// Fuzz target: the room reader.
#include "formats/orf_reader.h"
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] { load_orf_bytes({data, size}); });
    return 0;
}
