// meshlook-cli info and convert: the JSON document read back, trueSpace to
// polymodel giving the same info (the real trueSpace files too), and .obj read back by a reader
// of the test's own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/small_models.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

using nlohmann::json;

// Expects every member of want in got, recursing through objects and through arrays, which
// must have the same length.
void expect_subset(json got, const json& want, const std::string& at = "") {
    if (!want.is_structured()) {
        EXPECT_EQ(got, want) << at;
        return;
    }
    ASSERT_EQ(got.type_name(), want.type_name()) << at;
    if (want.is_array()) {
        ASSERT_EQ(got.size(), want.size()) << at;
    }
    for (const auto& [key, value] : want.items())
        expect_subset(want.is_array() ? got[std::stoul(key)] : got[key], value, at + "/" + key);
}

json info_of(const fs::path& cwd, const std::string& file) {
    CliRun run = run_cli({"info", file, "--json"}, cwd);
    EXPECT_EQ(run.status, 0) << run.err;
    return json_of(run);
}

TEST(CliInfo, JsonOfAModelWithEveryChunkKindOnItsOwnAndInAnArchive) {
    TempDir dir;
    std::vector<uint8_t> ship = build_oof(2300, oof_every_chunk_kind(2300));
    std::vector<uint8_t> glass = build_ogf(make_ogf_image(2, 2, {pack_1555(255, 0, 0), 0, 0, 0}));
    fs::create_directory(dir.root() / "loose");
    dir.write("loose/ship.oof", ship);
    dir.write("loose/GLASS.OGF", glass);
    dir.write("demo.hog", build_hog({{"Ship.oof", ship},
                                     {"glass.ogf", glass},
                                     {"fire.oaf", build_oaf({make_ogf_image(1, 1, {1})})},
                                     {"table.gam", {1, 2, 3}}}));
    json info = info_of(dir.root() / "loose", "ship.oof");
    // The turret sits at its offset (1, 2, 3) from the body; "hull" is listed but no polygon
    // uses it; "glass" is found ignoring case.
    expect_subset(info, json::parse(R"({"info_version": 1, "kind": "polymodel",
        "counts": {"subobjects": 2, "vertices": 7, "polygons": 3, "textures": 2, "gun_points": 2,
            "ground_points": 1, "attach_points": 1, "nath_points": 2, "special_points": 2,
            "batteries": 2, "position_keys": 3, "rotation_keys": 2, "keyframes": 4},
        "frames": [2, 5, 7, 9], "bounds": {"min": [-1, -2, -3], "max": [4, 7, 7]},
        "subobjects": [{"derived": {"rotate": null}}, {"name": "turret", "parent": 0, "depth": 1,
            "properties": "$rotate=5", "vertices": 3, "derived": {"rotate": {"time": 5}}}],
        "textures": [{"used": false, "file": null}, {"file": "GLASS.OGF", "in_archive": false}],
        "pinf": "mass=12\nturn=3"})"));
    EXPECT_NEAR(info["bounds"]["radius"].get<double>(), std::sqrt(69.0), 1e-5);
    expect_subset(info_of(dir.root(), "demo.hog:SHIP.OOF"), json::parse(R"({"entry": "SHIP.OOF",
        "counts": {"polygons": 3}, "textures": [{}, {"file": "glass.ogf", "in_archive": true}]})"));
    json archive = json::parse(R"({"kind": "archive", "entries": 4,
        "polymodels": [{"name": "Ship.oof"}], "textures": [{"name": "glass.ogf"}],
        "animated_textures": [{"name": "fire.oaf"}], "other": [{"size": 3}]})");
    archive["textures"][0]["size"] = glass.size();
    expect_subset(info_of(dir.root(), "demo.hog"), archive);
}

TEST(CliConvert, TrueSpaceToPolymodelKeepsWhatInfoShows) {
    TempDir dir;
    std::vector<std::pair<fs::path, json>> files = {
        {dir.write("built.cob", cob_two_group_model()), json::parse(R"({"kind": "truespace"})")}};
    for (auto [name, facts] :
         {std::pair{"dwarf.cob", R"({"counts": {"vertices": 1485, "polygons": 1896},
                 "subobjects": [{"name": "Body"}], "textures": [{"name": "dwarf"}, {"name": "axe"}]})"},
          {"molecule.cob", R"({"counts": {"vertices": 456, "polygons": 512},
                 "subobjects": [{"name": "Nitrogen"}], "textures": []})"},
          {"spider_4_3.cob", R"({"counts": {"vertices": 762, "polygons": 1368},
                 "subobjects": [{"name": "None"}], "textures": []})"},
          {"spider_6_6.cob", R"({"counts": {"vertices": 762, "polygons": 1368},
                 "subobjects": [{"name": "None"}], "textures": []})"}}) {
        if (real_cob_folder().empty())
            break;
        json& want = files.emplace_back(real_cob_folder() / name, json::parse(facts)).second;
        want["kind"] = "truespace";
        want["counts"]["subobjects"] = 1;
    }
    for (const auto& [file, facts] : files) {
        SCOPED_TRACE(file.filename());
        json info = info_of(dir.root(), file.string());
        expect_subset(info, facts);
        for (const json& texture : info["textures"])
            EXPECT_TRUE(texture["file"].is_null()) << "no such texture file here";
        info.erase("file");
        info.erase("kind");
        for (const char* kind : {".oof", ".orf"}) {
            fs::path out = dir.root() / (file.stem().string() + kind);
            CliRun run = run_cli({"convert", file.string(), out.string()}, dir.root());
            ASSERT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out, "") << "the importer's lines stay off standard output";
            json converted = info_of(dir.root(), out.string());
            converted.erase("file");
            converted.erase("kind");
            if (kind == std::string(".oof")) {
                EXPECT_EQ(info, converted);
            }
            EXPECT_EQ(info["counts"]["polygons"], converted["counts"]["polygons"]);
        }
    }
}

// The statements the exporter uses: mtllib, v, vt, usemtl, f with v/vt/vn corners; each
// face's material and corners as v/vt index pairs.
struct ObjFile {
    std::string mtllib;
    std::vector<std::vector<float>> v, vt;
    std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>> faces;
};

ObjFile read_obj(const fs::path& path) {
    ObjFile obj;
    std::ifstream in(path);
    std::string material;
    for (std::string line, tag; std::getline(in, line);) {
        std::istringstream words(line);
        words >> tag;
        if (tag == "mtllib" || tag == "usemtl") {
            words >> (tag == "mtllib" ? obj.mtllib : material);
        } else if (tag == "v" || tag == "vt") {
            std::vector<float>& values = (tag == "v" ? obj.v : obj.vt).emplace_back();
            for (float x; words >> x;)
                values.push_back(x);
        } else if (tag == "f") {
            auto& corners = obj.faces.emplace_back(material, std::vector<std::pair<int, int>>{});
            for (std::string corner; words >> corner;) {
                int v = 0, vt = 0;
                std::sscanf(corner.c_str(), "%d/%d", &v, &vt);
                corners.second.emplace_back(v, vt);
            }
        }
    }
    return obj;
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
    EXPECT_EQ(obj.v[5], (std::vector<float>{-4, 2, 7})) << "turret's (3, 0, 4) at (1, 2, 3)";
    // The textured quad's corners in reverse, v counted from the image's bottom.
    ASSERT_EQ(obj.faces.size(), 3u);
    using Corners = std::vector<std::pair<int, int>>;
    EXPECT_EQ(obj.faces[0].second, (Corners{{4, 1}, {3, 2}, {2, 3}, {1, 4}}));
    EXPECT_EQ(obj.faces[2].second, (Corners{{7, 0}, {6, 0}, {5, 0}}));
    ASSERT_EQ(obj.vt.size(), 4u);
    EXPECT_NEAR(obj.vt[0][0], 0.7f, 1e-6);
    EXPECT_NEAR(obj.vt[0][1], 0.2f, 1e-6);

    std::ifstream mtl(dir.root() / "out/ship.mtl");
    std::string text{std::istreambuf_iterator<char>(mtl), {}};
    for (const std::string& material :
         {"newmtl " + obj.faces[0].first + "\nKd 1 1 1\nmap_Kd glass.png\nmap_d glass.png\n",
          "newmtl " + obj.faces[2].first + "\nKd 0.78431374 0.39215687 0.19607843\n"})
        EXPECT_NE(text.find(material), std::string::npos) << text;
    QImage png = read_png(dir.root() / "out/glass.png");
    ASSERT_EQ(png.width(), 2);
    expect_colour(png, 0, 0, 248, 0, 0);
    EXPECT_EQ(qAlpha(png.pixel(1, 0)), 0);
}

} // namespace
