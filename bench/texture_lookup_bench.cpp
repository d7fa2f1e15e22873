// Loading a full texture list of 35 textures from an archive while the working folder holds
// 10000 unrelated files, so every texture is first looked for loose, ignoring case: finding
// them, finding, reading and decoding them, and load_textures itself with the upload (also in a
// folder of no other files). Each iteration is a later load in the same folder; the first load
// of a folder also lists it (BM_ListCrowdedFolder).
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "archive/hog_index.h"
#include "archive/texture_search.h"
#include "cli/command_line.h"
#include "cli/headless_gl.h"
#include "render/texture_loader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

constexpr int UNRELATED_FILES = 10000;

// A memory-backed folder where there is one, so the figures measure the code, not the disk.
fs::path bench_folder() {
    std::error_code ec;
    fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / "meshlook-bench-lookup";
}

// The working folder with the unrelated files and the archive; removed at the end.
class CrowdedFolder {
  public:
    explicit CrowdedFolder(int unrelated_files = UNRELATED_FILES)
        : folder_(bench_folder()), old_(fs::current_path()) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        for (int i = 0; i < unrelated_files; ++i)
            write_whole_file((folder_ / ("unrelated" + std::to_string(i) + ".dat")).string(), {});
        std::vector<HogFile> files;
        for (int i = 0; i < MAX_TEXTURE; ++i) {
            bool animated = i % 5 == 4;
            files.push_back({"tex" + std::to_string(i) + (animated ? ".oaf" : ".ogf"),
                             noisy_texture(i, animated)});
        }
        write_whole_file((folder_ / "bench.hog").string(), build_hog(files));
        // Last changed a minute ago, as a folder a person works in: its listing is kept from
        // one load to the next.
        const timespec changed[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
        utimensat(AT_FDCWD, folder_.c_str(), changed, 0);
        fs::current_path(folder_);
        copy_bounded(hog.hog_path, PATH_LEN, "bench.hog");
        load_hog();
    }
    ~CrowdedFolder() {
        fs::current_path(old_);
        fs::remove_all(folder_);
    }

  private:
    fs::path folder_, old_;
};

// Where each texture lies, as load_textures looks it up: name.ogf loose, then in the archive,
// then name.oaf likewise.
void BM_FindTextures35AmongTenThousandLooseFiles(benchmark::State& state) {
    CrowdedFolder folder;
    int found = 0;
    for (auto _ : state) {
        FolderListingScope listing;
        found = 0;
        for (int i = 0; i < MAX_TEXTURE; ++i) {
            TextureFile file;
            found += find_texture_file(("tex" + std::to_string(i)).c_str(), file);
        }
    }
    if (found != MAX_TEXTURE)
        state.SkipWithError("not every texture was found");
}
BENCHMARK(BM_FindTextures35AmongTenThousandLooseFiles)->Unit(benchmark::kMillisecond);

// What the first load in a folder pays once: listing the 10000 names.
void BM_ListCrowdedFolder(benchmark::State& state) {
    CrowdedFolder folder;
    for (auto _ : state) {
        write_whole_file("touch", {}); // a change to the folder: the next lookup lists it anew
        fs::remove("touch");
        find_ignoring_case("TEX0.OGF");
    }
}
BENCHMARK(BM_ListCrowdedFolder)->Unit(benchmark::kMillisecond);

// The same with each image read and decoded: load_textures without the upload.
void BM_LoadTextures35AmongTenThousandLooseFiles(benchmark::State& state) {
    CrowdedFolder folder;
    int loaded = 0;
    for (auto _ : state) {
        FolderListingScope listing;
        loaded = 0;
        for (int i = 0; i < MAX_TEXTURE; ++i) {
            TextureImage image{};
            char file_name[LOADED_FILE_LEN];
            loaded += load_texture_image(("tex" + std::to_string(i)).c_str(), image, file_name);
        }
    }
    if (loaded != MAX_TEXTURE)
        state.SkipWithError("not every texture was loaded");
}
BENCHMARK(BM_LoadTextures35AmongTenThousandLooseFiles)->Unit(benchmark::kMillisecond);

// load_textures itself, the upload included: a later load in a folder of 0 or 10000 other files.
void BM_LoadTextures35IntoGl(benchmark::State& state) try {
    HeadlessContext gl(64, 64);
    CrowdedFolder folder(int(state.range(0)));
    model.num_textures = MAX_TEXTURE;
    for (int i = 0; i < MAX_TEXTURE; ++i) {
        std::snprintf(model.textures[i].name, sizeof model.textures[i].name, "tex%d", i);
        model.textures[i].referenced = 1;
    }
    for (auto _ : state) {
        load_textures();
        glFinish();
    }
    if (!std::all_of(model.textures, model.textures + MAX_TEXTURE,
                     [](const TextureSlot& slot) { return slot.loaded; }))
        state.SkipWithError("not every texture was loaded");
    release_textures();
} catch (const CommandFailure& failure) {
    state.SkipWithError(failure.message.c_str());
}
BENCHMARK(BM_LoadTextures35IntoGl)
    ->ArgName("unrelated_files")
    ->Arg(0)
    ->Arg(UNRELATED_FILES)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
