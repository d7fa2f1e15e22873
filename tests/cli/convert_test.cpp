// meshlook-cli convert: trueSpace to polymodel giving the same info, .obj read back by a reader
// of the test's own, and outputs replaced only by complete files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"
#include "tools/oof_builder.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

using nlohmann::json;

// The info document without what names the file.
json model_facts(const fs::path& cwd, const std::string& file) {
    CliRun run = run_cli({"info", file, "--json"}, cwd);
    EXPECT_EQ(run.status, 0) << run.err;
    json info = json_of(run);
    info.erase("file");
    info.erase("kind");
    return info;
}

std::vector<uint8_t> two_group_cob() {
    CobBuilder cob;
    uint32_t body = cob.grou("body", {1, 2, 3});
    cob.polh(cob_single_face({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, 1), body);
    cob.mat1({1, 1, 0.5f, 0, {}});
    uint32_t fin = cob.grou("fin", {0, 5, 0}, body);
    cob.polh(cob_single_face({{0, 0, 0}, {0, 2, 0}, {0, 0, 2}}, 2), fin);
    cob.mat1({2, 0, 0, 0, cob_texture_map("maps\\fin.bmp")});
    cob.end();
    return cob.bytes();
}

TEST(CliConvert, TrueSpaceToPolymodelKeepsWhatInfoShows) {
    TempDir dir;
    std::vector<fs::path> files = {dir.write("built.cob", two_group_cob())};
    if (!real_cob_folder().empty())
        for (const char* name : {"dwarf.cob", "molecule.cob", "spider_4_3.cob", "spider_6_6.cob"})
            files.push_back(real_cob_folder() / name);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename());
        fs::path oof = dir.root() / (file.stem().string() + ".oof");
        CliRun run = run_cli({"convert", file.string(), oof.string()}, dir.root());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "") << "the importer's lines stay off standard output";
        EXPECT_EQ(model_facts(dir.root(), file.string()), model_facts(dir.root(), oof.string()));
    }
}

struct ObjFace {
    std::string material;
    std::vector<int> v, vt;
};

struct ObjFile {
    std::string mtllib;
    std::vector<std::vector<float>> v, vt;
    std::vector<ObjFace> faces;
};

// Reads the statements the exporter uses: mtllib, v, vt, usemtl, f with v/vt/vn corners.
ObjFile read_obj(const fs::path& path) {
    ObjFile obj;
    std::ifstream in(path);
    std::string line, material;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "mtllib") {
            words >> obj.mtllib;
        } else if (tag == "v" || tag == "vt") {
            std::vector<float> values;
            for (float x; words >> x;)
                values.push_back(x);
            (tag == "v" ? obj.v : obj.vt).push_back(values);
        } else if (tag == "usemtl") {
            words >> material;
        } else if (tag == "f") {
            ObjFace face{material, {}, {}};
            for (std::string corner; words >> corner;) {
                size_t slash = corner.find('/');
                face.v.push_back(std::stoi(corner.substr(0, slash)));
                std::string vt = corner.substr(slash + 1, corner.find('/', slash + 1) - slash - 1);
                face.vt.push_back(vt.empty() ? 0 : std::stoi(vt));
            }
            obj.faces.push_back(face);
        }
    }
    return obj;
}

// Each material's statements after newmtl, as "Kd ..." or "map_Kd ..." lines.
std::map<std::string, std::vector<std::string>> read_mtl(const fs::path& path) {
    std::map<std::string, std::vector<std::string>> materials;
    std::ifstream in(path);
    std::string line, current;
    while (std::getline(in, line)) {
        if (line.rfind("newmtl ", 0) == 0)
            current = line.substr(7);
        else if (!line.empty() && line[0] != '#')
            materials[current].push_back(line);
    }
    return materials;
}

TEST(CliConvert, ObjHoldsMirroredPositionsReversedFacesMaterialsAndTextures) {
    TempDir dir;
    dir.write("ship.oof", build_oof(2300, oof_every_chunk_kind(2300)));
    dir.write("glass.ogf", build_ogf(make_ogf_image(2, 1, {pack_1555(248, 0, 0), 0})));
    fs::create_directory(dir.root() / "out");
    CliRun run = run_cli({"convert", "ship.oof", "out/ship.obj"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;

    ObjFile obj = read_obj(dir.root() / "out/ship.obj");
    EXPECT_EQ(obj.mtllib, "ship.mtl");
    ASSERT_EQ(obj.v.size(), 7u);
    // The turret's vertex (3, 0, 4) at its offset (1, 2, 3), X mirrored.
    EXPECT_EQ(obj.v[5], (std::vector<float>{-4, 2, 7}));
    ASSERT_EQ(obj.faces.size(), 3u);
    EXPECT_EQ(obj.faces[0].v, (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(obj.faces[2].v, (std::vector<int>{7, 6, 5}));
    // The textured quad's corners in reverse, v counted from the image's bottom.
    ASSERT_EQ(obj.vt.size(), 4u);
    EXPECT_EQ(obj.faces[0].vt, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_NEAR(obj.vt[0][0], 0.7f, 1e-6);
    EXPECT_NEAR(obj.vt[0][1], 0.2f, 1e-6);

    auto materials = read_mtl(dir.root() / "out/ship.mtl");
    EXPECT_EQ(materials[obj.faces[0].material],
              (std::vector<std::string>{"Kd 1 1 1", "map_Kd glass.png", "map_d glass.png"}));
    EXPECT_EQ(materials[obj.faces[2].material],
              (std::vector<std::string>{"Kd 0.78431374 0.39215687 0.19607843"}));
    DecodedPng png = read_png(dir.root() / "out/glass.png");
    ASSERT_EQ(png.width, 2);
    EXPECT_EQ(png.at(0, 0), (std::vector<int>{248, 0, 0, 255}));
    EXPECT_EQ(png.at(1, 0)[3], 0);
}

TEST(CliConvert, OutputReplacedOnlyByACompleteFile) {
    const struct {
        const char* in;
        const char* out;
        int status;
        const char* message;
    } cases[] = {
        {"missing.cob", "kept.oof", 254, "missing.cob: ERROR: Can't open the cob/scn file"},
        {"built.cob", "no_folder/x.oof", 1, "ERROR: Can't write the output file"},
        {"built.cob", "kept.txt", 2, "OUT must end in .oof, .orf or .obj"},
        {"built.cob", "kept.orf", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        TempDir dir;
        dir.write("built.cob", two_group_cob());
        std::vector<uint8_t> old = {'o', 'l', 'd'};
        dir.write(c.out[0] == 'k' ? c.out : "unused", old);
        CliRun run = run_cli({"convert", c.in, c.out}, dir.root());
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.status == 0) {
            EXPECT_EQ(model_facts(dir.root(), c.out)["counts"]["polygons"], 2);
        } else {
            std::vector<uint8_t> kept = c.out[0] == 'k' ? old : std::vector<uint8_t>{};
            EXPECT_EQ(read_whole_file(dir.path(c.out)), kept);
        }
    }
}

} // namespace
