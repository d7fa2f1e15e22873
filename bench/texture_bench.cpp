// load_textures of a full texture list: 35 referenced 128 x 128 textures from an archive.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "archive/hog_index.h"
#include "render/texture_loader.h"
#include "state/polymodel.h"
#include "tests/support/gl_context.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace {

// Every pixel differs from its neighbour, so each image is 16384 one-pixel records: the most
// bytes a 128 x 128 image can take.
std::vector<uint8_t> noisy_texture(int seed, bool animated) {
    std::vector<uint16_t> values(128 * 128);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = uint16_t(0x8000 | ((i * 2654435761u + seed * 40503u) >> 7 & 0x7FFF) | 1);
    for (size_t i = 1; i < values.size(); ++i)
        if (values[i] == values[i - 1])
            values[i] ^= 2;
    OgfImage image = make_ogf_image(128, 128, values);
    return animated ? build_oaf({image, image}, OafHeaderForm::long_form) : build_ogf(image);
}

void BM_LoadTextures35From128x128Archive(benchmark::State& state) {
    HeadlessGl gl(64, 64);
    if (!gl.ok()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
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
}
BENCHMARK(BM_LoadTextures35From128x128Archive)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
