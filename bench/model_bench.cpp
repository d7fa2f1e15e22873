// Rebuilding the display lists of a model at every table limit, and drawing it at 400 x 400.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "render/draw_tables.h"
#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "state/view_state.h"
#include "tests/support/gl_context.h"
#include "tools/store_builder.h"

namespace {

// A maximal model with every texture slot loaded as a 128 x 128 image, half of them with alpha.
void prepare_maximal_scene() {
    static const Polymodel fresh_model{};
    static const ViewState fresh_view{};
    model = fresh_model;
    view = fresh_view;
    reset_draw_tables();
    fill_maximal_model();
    std::vector<uint8_t> texels(128 * 128 * 4, 200);
    for (int t = 0; t < MAX_TEXTURE; ++t) {
        TextureSlot& slot = model.textures[t];
        slot.gl_list = glGenLists(1);
        glNewList(slot.gl_list, GL_COMPILE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        glEndList();
        slot.loaded = 1;
        slot.has_alpha = t % 2;
    }
    view.model_loaded = 1;
    model.model_radius = 40;
    init_gl_state();
    set_projection(400, 400);
}

void BM_RebuildMaximalModel(benchmark::State& state) {
    HeadlessGl gl(400, 400);
    if (!gl.ok()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    prepare_maximal_scene();
    for (auto _ : state) {
        rebuild_model_lists();
        glFinish();
    }
    state.counters["corners"] = draw_tables.num_corners;
}
BENCHMARK(BM_RebuildMaximalModel)->Unit(benchmark::kMillisecond);

void BM_DrawMaximalModel400(benchmark::State& state) {
    HeadlessGl gl(400, 400);
    if (!gl.ok()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    prepare_maximal_scene();
    rebuild_model_lists();
    for (auto _ : state) {
        draw_frame();
        glFinish();
    }
}
BENCHMARK(BM_DrawMaximalModel400)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
