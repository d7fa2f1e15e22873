// Importing the real dwarf.cob (1485 vertices, 1896 faces) from memory into the store: the
// reading and conversion part of `meshlook-cli info dwarf.cob`, without the process around it.
#include <benchmark/benchmark.h>

#include "cli/quiet_stdout.h"
#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"

namespace {

void BM_ImportDwarfCob(benchmark::State& state) {
    FileHandle file = open_for_reading(MESHLOOK_TESTDATA_DIR "/cob/dwarf.cob");
    std::vector<uint8_t> bytes =
        file ? read_bytes(file.get(), 0, MAX_READ_SIZE) : std::vector<uint8_t>{};
    if (bytes.empty()) {
        state.SkipWithError("no shared dwarf.cob");
        return;
    }
    {
        QuietStdout quiet; // the importer's lines, not the figures
        for (auto _ : state) {
            load_cob_bytes(bytes);
            benchmark::DoNotOptimize(model.num_polygons);
        }
    }
    if (model.num_polygons != 1896)
        state.SkipWithError("dwarf.cob did not import");
}
BENCHMARK(BM_ImportDwarfCob)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
