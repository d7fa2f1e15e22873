// Finding, reading and decoding a full texture list as load_textures does, without the upload:
// 35 textures from an archive while the working folder holds 10000 unrelated files, so every
// texture is first looked for loose, ignoring case.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/hog_index.h"
#include "archive/texture_search.h"
#include "state/file_io.h"
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
    CrowdedFolder() : folder_(bench_folder()), old_(fs::current_path()) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        for (int i = 0; i < UNRELATED_FILES; ++i)
            write_whole_file((folder_ / ("unrelated" + std::to_string(i) + ".dat")).string(), {});
        std::vector<HogFile> files;
        for (int i = 0; i < MAX_TEXTURE; ++i) {
            bool animated = i % 5 == 4;
            files.push_back({"tex" + std::to_string(i) + (animated ? ".oaf" : ".ogf"),
                             noisy_texture(i, animated)});
        }
        write_whole_file((folder_ / "bench.hog").string(), build_hog(files));
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

} // namespace

BENCHMARK_MAIN();
