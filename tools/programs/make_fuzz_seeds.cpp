// Writes the fuzz seed corpus: a few small, valid inputs per reader, made by the builders.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/hog_builder.h"

namespace {

std::filesystem::path root;

void seed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
    auto folder = root / target;
    std::filesystem::create_directories(folder);
    write_whole_file((folder / name).string(), bytes);
}

void hog_seeds() {
    seed("hog", "empty.hog", build_hog({}));
    seed("hog", "three.hog",
         build_hog({{"ship.oof", {1, 2, 3}}, {"ROCK.OGF", {4}}, {"fire.oaf", {}}}, 212));
    seed("hog", "other.hog", build_hog({{"table.gam", {9, 9}}, {"readme", {}}, {"a.oof.bak", {}}}));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    root = argv[1];
    hog_seeds();
    return 0;
}
