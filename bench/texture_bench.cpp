// load_textures of a full texture list: 35 referenced 128 x 128 textures from an archive.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "archive/hog_index.h"
#include "cli/command_line.h"
#include "cli/headless_gl.h"
#include "render/texture_loader.h"
#include "state/polymodel.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace {

void BM_LoadTextures35From128x128Archive(benchmark::State& state) try {
    HeadlessContext gl(64, 64);
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "meshlook-bench-tex";
    std::filesystem::create_directories(folder);
    std::vector<HogFile> files;
    for (int i = 0; i < MAX_TEXTURE; ++i) {
        bool animated = i % 5 == 4;
        files.push_back(
            {"tex" + std::to_string(i) + (animated ? ".oaf" : ".ogf"), noisy_texture(i, animated)});
    }
    std::string path = (folder / "bench.hog").string();
    write_whole_file(path, build_hog(files));
    std::strcpy(hog.hog_path, path.c_str());
    load_hog();
    model.num_textures = MAX_TEXTURE;
    for (int i = 0; i < MAX_TEXTURE; ++i) {
        std::snprintf(model.textures[i].name, sizeof model.textures[i].name, "tex%d", i);
        model.textures[i].referenced = 1;
    }
    for (auto _ : state) {
        load_textures();
        glFinish();
    }
    int loaded = 0;
    for (const TextureSlot& slot : model.textures)
        loaded += slot.loaded;
    if (loaded != MAX_TEXTURE)
        state.SkipWithError("not every texture loaded");
    release_textures();
    std::filesystem::remove_all(folder);
} catch (const CommandFailure& failure) {
    state.SkipWithError(failure.message.c_str());
}
BENCHMARK(BM_LoadTextures35From128x128Archive)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
