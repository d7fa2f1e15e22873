// Fuzz target: the polymodel reader with the property-string derivation it runs.
#include "formats/oof_reader.h"
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] { load_oof_bytes({data, size}); });
    return 0;
}
