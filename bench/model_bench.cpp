// Rebuilding the display lists and drawing at 400 x 400 the model at every table limit
// (fill_maximal_model), with all 35 texture slots loaded by the texture loader from 128 x 128
// files. Three sizes: the maximal model as far as 20000 corners hold it (its first 800 polygons
// of 25 corners, in 12 subobjects), all 4000 polygons of 25 corners, and 4000 polygons of 5
// corners (the most polygons 20000 corners hold).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/headless_gl.h"
#include "render/draw_tables.h"
#include "render/gl_setup.h"
#include "render/memory_reuse.h"
#include "render/model_draw.h"
#include "render/texture_loader.h"
#include "state/view_state.h"
#include "tools/hog_builder.h"
#include "tools/store_builder.h"
#include "tools/texture_builder.h"

namespace {

struct Scene {
    int corners;  // per polygon
    int polygons; // the first this many of the model
};
constexpr Scene MAXIMAL = {MAX_POLY_POINTS, 20000 / MAX_POLY_POINTS};
constexpr Scene FULL_25 = {MAX_POLY_POINTS, MAX_POLY};
constexpr Scene FULL_5 = {5, MAX_POLY};

// Texture tex<t>: varied opaque texels; every odd slot also has transparent ones (drawn blended).
std::vector<uint8_t> bench_texture(int t) {
    std::vector<uint16_t> values(128 * 128);
    for (size_t i = 0; i < values.size(); ++i) {
        bool transparent = t % 2 == 1 && i % 4 == 0;
        values[i] = transparent ? 0 : uint16_t(0x8000 | ((i * 37 + t * 1009) & 0x7FFF) | 1);
    }
    return build_ogf(make_ogf_image(128, 128, values));
}

void load_bench_textures() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "meshlook-bench-model";
    std::filesystem::create_directories(folder);
    std::filesystem::path old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (int t = 0; t < MAX_TEXTURE; ++t)
        write_whole_file(model.textures[t].name + std::string(".ogf"), bench_texture(t));
    load_textures();
    std::filesystem::current_path(old_cwd);
    std::filesystem::remove_all(folder);
}

// On a machine shared with other work the median moves with the load; the minimum shows what
// the code itself costs.
double minimum(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

bool prepare_scene(benchmark::State& state, Scene scene) {
    static const Polymodel fresh_model{};
    static const ViewState fresh_view{};
    model = fresh_model;
    view = fresh_view;
    reset_draw_tables();
    fill_maximal_model(scene.corners);
    model.num_polygons = uint32_t(scene.polygons);
    init_gl_state();
    load_bench_textures();
    for (int t = 0; t < MAX_TEXTURE; ++t)
        if (!model.textures[t].loaded) {
            state.SkipWithError("a texture did not load");
            return false;
        }
    view.model_loaded = 1;
    model.model_radius = 40;
    set_projection(400, 400);
    return true;
}

void rebuild(benchmark::State& state, Scene scene) try {
    HeadlessContext gl(400, 400);
    if (!prepare_scene(state, scene))
        return;
    for (auto _ : state) {
        rebuild_model_lists();
        glFinish();
    }
    state.counters["corners"] = draw_tables.num_corners;
    release_textures();
} catch (const CommandFailure& failure) {
    state.SkipWithError(failure.message.c_str());
}

void draw(benchmark::State& state, Scene scene) try {
    HeadlessContext gl(400, 400);
    if (!prepare_scene(state, scene))
        return;
    rebuild_model_lists();
    for (auto _ : state) {
        draw_frame();
        glFinish();
    }
    state.counters["corners"] = draw_tables.num_corners;
    release_textures();
} catch (const CommandFailure& failure) {
    state.SkipWithError(failure.message.c_str());
}

} // namespace

int main(int argc, char** argv) {
    keep_freed_memory_for_reuse();
    const struct {
        const char* name;
        Scene scene;
    } scenes[] = {{"MaximalModel", MAXIMAL}, {"Model4000x25", FULL_25}, {"Model4000x5", FULL_5}};
    for (const auto& [name, scene] : scenes)
        benchmark::RegisterBenchmark((std::string("BM_Rebuild") + name).c_str(), rebuild, scene)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->ComputeStatistics("min", minimum);
    for (const auto& [name, scene] : scenes)
        benchmark::RegisterBenchmark((std::string("BM_Draw") + name + "At400").c_str(), draw, scene)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->ComputeStatistics("min", minimum);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
