// meshlook-cli info and convert: the JSON document read back, trueSpace to polymodel giving the
// same info (the real trueSpace files too), and .obj read back by a reader of the test's own.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"
#include "tools/small_models.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

using nlohmann::json;

TEST(CliInfo, JsonOfAModelWithEveryChunkKind) {
    TempDir dir;
    dir.write("ship.oof", build_oof(2300, oof_every_chunk_kind(2300)));
    dir.write("GLASS.OGF", build_ogf(make_ogf_image(2, 2, {pack_1555(255, 0, 0), 0, 0, 0})));
    json info = info_of(dir.root(), "ship.oof");
    // The turret sits at its offset (1, 2, 3) from the body; "hull" is listed but no polygon
    // uses it; "glass" is found ignoring case.
    json want = json::parse(R"({"info_version": 1, "kind": "polymodel",
        "counts": {"subobjects": 2, "vertices": 7, "polygons": 3, "textures": 2, "gun_points": 2,
            "ground_points": 1, "attach_points": 1, "nath_points": 2, "special_points": 2,
            "batteries": 2, "position_keys": 3, "rotation_keys": 2, "keyframes": 4},
        "frames": [2, 5, 7, 9], "bounds": {"min": [-1, -2, -3], "max": [4, 7, 7]},
        "subobjects": [{"derived": {"rotate": null}}, {"name": "turret", "parent": 0, "depth": 1,
            "properties": "$rotate=5", "vertices": 3, "derived": {"rotate": {"time": 5}}}],
        "textures": [{"used": false, "file": null}, {"file": "GLASS.OGF", "in_archive": false}],
        "pinf": "mass=12\nturn=3"})");
    json flat = info.flatten(), want_flat = want.flatten();
    for (const auto& [pointer, value] : want_flat.items())
        EXPECT_EQ(flat[pointer], value) << pointer;
}

TEST(CliConvert, TrueSpaceToPolymodelKeepsWhatInfoShows) {
    TempDir dir;
    std::vector<std::pair<fs::path, int>> files = {
        {dir.write("built.cob", cob_two_group_model()), 2}};
    fs::path real = shared_testdata_folder() / "cob";
    for (auto [name, polygons] : {std::pair{"dwarf.cob", 1896},
                                  {"molecule.cob", 512},
                                  {"spider_4_3.cob", 1368},
                                  {"spider_6_6.cob", 1368}})
        if (fs::exists(real / name))
            files.emplace_back(real / name, polygons);
    for (const auto& [file, polygons] : files) {
        SCOPED_TRACE(file.filename());
        json info = info_of(dir.root(), file.string());
        EXPECT_EQ(info["kind"], "truespace");
        EXPECT_EQ(info["counts"]["polygons"], polygons);
        fs::path oof = dir.root() / (file.stem().string() + ".oof");
        CliRun run = run_cli({"convert", file.string(), oof.string()}, dir.root());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "") << "the importer's lines stay off standard output";
        json converted = info_of(dir.root(), oof.string());
        for (json* doc : {&info, &converted})
            doc->erase("file");
        converted["kind"] = "truespace";
        EXPECT_EQ(info, converted);
    }
}

// Reads the statements v, vt, and f with v/vt/vn corners, each face as v/vt index pairs.
struct ObjFile {
    std::vector<std::vector<float>> v, vt;
    std::vector<std::vector<std::pair<int, int>>> faces;
};

ObjFile read_obj(const fs::path& path) {
    ObjFile obj;
    std::ifstream in(path);
    for (std::string line, tag; std::getline(in, line);) {
        std::istringstream words(line);
        words >> tag;
        if (tag == "v" || tag == "vt") {
            std::vector<float>& values = (tag == "v" ? obj.v : obj.vt).emplace_back();
            for (float x; words >> x;)
                values.push_back(x);
        }
        if (tag == "f") {
            auto& corners = obj.faces.emplace_back();
            for (std::string corner; words >> corner;) {
                int v = 0, vt = 0;
                std::sscanf(corner.c_str(), "%d/%d", &v, &vt);
                corners.emplace_back(v, vt);
            }
        }
    }
    return obj;
}

TEST(CliConvert, ObjHoldsMirroredPositionsAndReversedFaces) {
    TempDir dir;
    dir.write("ship.oof", build_oof(2300, oof_every_chunk_kind(2300)));
    dir.write("glass.ogf", build_ogf(make_ogf_image(2, 1, {pack_1555(248, 0, 0), 0})));
    fs::create_directory(dir.root() / "out");
    CliRun run = run_cli({"convert", "ship.oof", "out/ship.obj"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;

    ObjFile obj = read_obj(dir.root() / "out/ship.obj");
    ASSERT_EQ(obj.v.size(), 7u);
    EXPECT_EQ(obj.v[5], (std::vector<float>{-4, 2, 7})) << "turret's (3, 0, 4) at (1, 2, 3)";
    // The textured quad's corners in reverse, v counted from the image's bottom.
    ASSERT_EQ(obj.faces.size(), 3u);
    using Corners = std::vector<std::pair<int, int>>;
    EXPECT_EQ(obj.faces[0], (Corners{{4, 1}, {3, 2}, {2, 3}, {1, 4}}));
    EXPECT_EQ(obj.faces[2], (Corners{{7, 0}, {6, 0}, {5, 0}}));
    ASSERT_EQ(obj.vt.size(), 4u);
    EXPECT_NEAR(obj.vt[0][0], 0.7f, 1e-6);
    EXPECT_NEAR(obj.vt[0][1], 0.2f, 1e-6);
}

} // namespace
