// Writes the fuzz seed corpus: a few small, valid inputs per reader, made by the builders.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"
#include "tools/texture_builder.h"

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

void oof_seeds() {
    for (uint32_t version : {2300u, 1907u, 2100u})
        seed("oof", "every_chunk_" + std::to_string(version) + ".oof",
             build_oof(version, oof_every_chunk_kind(version)));
    seed("oof", "header_only.oof", build_oof(2300, {}));
}

void orf_seeds() {
    std::vector<Vec3> square{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    OrfPolygon polygon{{0, 0, 1}, 0, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}};
    seed("orf", "square.orf", build_orf(square, {"ROCK0030.OGF1"}, {polygon}));
    seed("orf", "two_textures.orf",
         build_orf(square, {"maps\\brick.bmp", "SAMPLE TEXTURE"},
                   {polygon, {{0, 0, -1}, 1, {{3, 0, 0}, {2, 1, 0}, {1, 1, 1}}}}));
    seed("orf", "empty.orf", OrfBuilder().end().bytes());
}

void cob_seeds() {
    CobBuilder plain;
    uint32_t group = plain.grou("body", {1, 2, 3});
    plain.polh(cob_single_face({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}), group);
    plain.mat1({0, 0.5f, 0.25f, 1.0f, {}});
    plain.end();
    seed("cob", "plain.cob", plain.bytes());

    CobBuilder textured;
    textured.polh(cob_single_face({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, 1));
    textured.mat1({1, 1, 1, 1, cob_texture_map("maps\\hull.jpg", 0.5f, 0, 2, 2)});
    textured.chunk("Unit", {1, 0});
    textured.end();
    seed("cob", "textured.cob", textured.bytes());
}

void texture_seeds() {
    std::vector<uint16_t> values;
    for (int i = 0; i < 16; ++i)
        values.push_back(uint16_t(i % 3 == 0 ? 0 : pack_1555(uint8_t(i * 16), 0, 255, i % 2)));
    seed("ogf", "small_1555.ogf", build_ogf(make_ogf_image(4, 4, values)));
    seed("ogf", "small_4444.ogf", build_ogf(make_ogf_image(4, 4, values, 7)));
    seed("oaf", "short.oaf", build_oaf({make_ogf_image(4, 4, values)}));
    seed("oaf", "long.oaf",
         build_oaf({make_ogf_image(4, 4, values), make_ogf_image(4, 4, values, 7)},
                   OafHeaderForm::long_form));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    root = argv[1];
    hog_seeds();
    oof_seeds();
    orf_seeds();
    cob_seeds();
    texture_seeds();
    return 0;
}
