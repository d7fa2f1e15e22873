// Fuzz target: the OGF texture decoder.
#include "archive/texture_decode.h"
#include "fuzz/fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run_refusable([&] {
        TextureImage image{};
        decode_texture({data, size}, TextureKind::still, image);
    });
    return 0;
}
