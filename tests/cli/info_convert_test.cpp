// meshlook-cli info and convert: one model's JSON document read back and its whole .obj file;
// trueSpace to polymodel giving the same info (the real trueSpace files too).
#include "tests/cli/cli_run.h"

namespace {

using nlohmann::json;

TEST(CliInfoAndConvert, JsonAndObjOfAModelWithEveryChunkKind) {
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
    fs::create_directory(dir.root() / "out");
    CliRun run = run_cli({"convert", "ship.oof", "out/ship.obj"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    // X mirrored, the turret's (3, 0, 4) placed at (1, 2, 3); each face's corners reversed, v
    // counted from the image's bottom.
    std::vector<uint8_t> obj = read_whole_file(dir.path("out/ship.obj"));
    EXPECT_EQ(std::string(obj.begin(), obj.end()), R"(# ship.oof, written by meshlook-cli
mtllib ship.mtl
v 1 -2 -3
v -4 -2 -3
v -4 5 -3
v 1 5 6
v -1 2 3
v -4 2 7
v -1 7 3
vn -0 0 1
vn -0 1 0
vn -1 0 0
vn -0 0 -1
vn -1 0 0
vn -0 1 0
vn -0 0 1
o body
usemtl texture_glass
vt 0.7 0.19999999
vt 0.5 0.39999998
vt 0.3 0.6
vt 0.1 0.8
f 4/1/4 3/2/3 2/3/2 1/4/1
usemtl colour_0a141e
f 1//1 3//3 4//4
o turret
usemtl colour_c86432
f 7//7 6//6 5//5
)");
}

TEST(CliConvert, TrueSpaceToPolymodelKeepsWhatInfoShows) {
    TempDir dir;
    // The large one is read into large pages, the other mapped.
    std::vector<std::pair<fs::path, int>> files = {
        {dir.write("built.cob", cob_two_group_model()), 2},
        {dir.write("large.cob", cob_two_group_model(1 << 20)), 2}};
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

} // namespace
