// Reading (with the property pass) and writing a polymodel at the store's limits: 4000 vertices,
// 4000 quads over 12 subobjects, 15000 position and 15000 rotation keys.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

// A memory-backed folder where there is one, so the figures measure the code, not the disk.
std::string bench_path(const char* name) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", ec)
                                       ? std::filesystem::path("/dev/shm")
                                       : std::filesystem::temp_directory_path();
    return (folder / name).string();
}

void load_maximal_model() {
    static const std::string path = [] {
        std::string p = bench_path("meshlook-bench-maximal.oof");
        write_whole_file(p, oof_maximal_model());
        return p;
    }();
    std::strcpy(view.oof_path, path.c_str());
    load_oof(0);
}

void BM_LoadOofAndPrepare(benchmark::State& state) {
    for (auto _ : state) {
        load_maximal_model();
        benchmark::DoNotOptimize(model.model_radius);
    }
    if (model.num_vertices != MAX_VECT || model.num_polygons != MAX_POLY)
        state.SkipWithError("the maximal model did not load");
}
BENCHMARK(BM_LoadOofAndPrepare)->Unit(benchmark::kMicrosecond);

void BM_ExportOof(benchmark::State& state) {
    load_maximal_model();
    std::string out = bench_path("meshlook-bench-export.oof");
    std::strcpy(view.export_path, out.c_str());
    for (auto _ : state)
        if (!export_oof())
            state.SkipWithError("the export failed");
    std::filesystem::remove(out);
}
BENCHMARK(BM_ExportOof)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
