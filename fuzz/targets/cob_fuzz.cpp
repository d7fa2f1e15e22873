// Fuzz target: the trueSpace importer, chunk reading and conversion.
#include "formats/cob_reader.h"
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] { load_cob_bytes({data, size}); });
    return 0;
}
