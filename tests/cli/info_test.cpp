// meshlook-cli info: the JSON document read back, the text tree, archives, and the real
// trueSpace files.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/texture_builder.h"

namespace {

using nlohmann::json;

std::vector<uint8_t> every_chunk_model() {
    return build_oof(2300, oof_every_chunk_kind(2300));
}

std::vector<uint8_t> small_texture() {
    return build_ogf(make_ogf_image(2, 2, {pack_1555(255, 0, 0), 0, 0, 0}));
}

TEST(CliInfo, JsonOfAModelWithEveryChunkKind) {
    TempDir dir;
    dir.write("ship.oof", every_chunk_model());
    dir.write("GLASS.OGF", small_texture());
    CliRun run = run_cli({"info", "ship.oof", "--json"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    json info = json_of(run);

    EXPECT_EQ(info["info_version"], 1);
    EXPECT_EQ(info["kind"], "polymodel");
    json expected_counts = {{"subobjects", 2},    {"vertices", 7},      {"polygons", 3},
                            {"textures", 2},      {"gun_points", 2},    {"ground_points", 1},
                            {"attach_points", 1}, {"nath_points", 2},   {"special_points", 2},
                            {"batteries", 2},     {"position_keys", 3}, {"rotation_keys", 2},
                            {"keyframes", 4}};
    EXPECT_EQ(info["counts"], expected_counts);
    EXPECT_EQ(info["frames"], json({2, 5, 7, 9}));
    // The turret's vertices sit at its offset (1, 2, 3) from the body.
    EXPECT_EQ(info["bounds"]["min"], json({-1, -2, -3}));
    EXPECT_EQ(info["bounds"]["max"], json({4, 7, 7}));
    EXPECT_NEAR(info["bounds"]["radius"].get<double>(), std::sqrt(69.0), 1e-5);

    const json& turret = info["subobjects"][1];
    EXPECT_EQ(turret["name"], "turret");
    EXPECT_EQ(turret["parent"], 0);
    EXPECT_EQ(turret["depth"], 1);
    EXPECT_EQ(turret["properties"], "$rotate=5");
    EXPECT_EQ(turret["vertices"], 3);
    EXPECT_EQ(turret["derived"]["rotate"]["time"], 5);
    EXPECT_TRUE(turret["derived"]["glow"].is_null());
    EXPECT_TRUE(info["subobjects"][0]["derived"]["rotate"].is_null());

    // "hull" is listed but no polygon uses it; "glass" is found ignoring case.
    EXPECT_EQ(info["textures"][0]["used"], false);
    EXPECT_TRUE(info["textures"][0]["file"].is_null());
    EXPECT_EQ(info["textures"][1]["file"], "GLASS.OGF");
    EXPECT_EQ(info["textures"][1]["in_archive"], false);
    EXPECT_EQ(info["pinf"], "mass=12\nturn=3");
}

TEST(CliInfo, ArchiveEntryAndArchive) {
    TempDir dir;
    dir.write("demo.hog", build_hog({{"Ship.oof", every_chunk_model()},
                                     {"glass.ogf", small_texture()},
                                     {"fire.oaf", build_oaf({make_ogf_image(1, 1, {1})})},
                                     {"table.gam", {1, 2, 3}}}));
    CliRun entry = run_cli({"info", "demo.hog:SHIP.OOF", "--json"}, dir.root());
    ASSERT_EQ(entry.status, 0) << entry.err;
    json info = json_of(entry);
    EXPECT_EQ(info["entry"], "SHIP.OOF");
    EXPECT_EQ(info["counts"]["polygons"], 3);
    EXPECT_EQ(info["textures"][1]["file"], "glass.ogf");
    EXPECT_EQ(info["textures"][1]["in_archive"], true);

    CliRun archive = run_cli({"info", "demo.hog", "--json"}, dir.root());
    ASSERT_EQ(archive.status, 0) << archive.err;
    info = json_of(archive);
    EXPECT_EQ(info["kind"], "archive");
    EXPECT_EQ(info["entries"], 4);
    EXPECT_EQ(info["polymodels"][0]["name"], "Ship.oof");
    json texture = {{"name", "glass.ogf"}, {"size", small_texture().size()}};
    EXPECT_EQ(info["textures"], json::array({texture}));
    EXPECT_EQ(info["animated_textures"][0]["name"], "fire.oaf");
    EXPECT_EQ(info["other"][0]["size"], 3);
}

TEST(CliInfo, TextShowsTheSubobjectTreeAndWhereTexturesComeFrom) {
    TempDir dir;
    dir.write("ship.oof", every_chunk_model());
    CliRun run = run_cli({"info", "ship.oof"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\n  0 body: 4 vertices, 2 polygons\n"
                           "    1 turret: 3 vertices, 1 polygons, \"$rotate=5\"  rotate 5\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  1 glass: missing\n"), std::string::npos) << run.out;
}

TEST(CliInfo, RealTrueSpaceFiles) {
    std::filesystem::path folder = real_cob_folder();
    if (folder.empty())
        GTEST_SKIP() << "no shared trueSpace files";
    const struct {
        const char* file;
        int vertices, polygons;
        std::vector<std::string> textures;
        const char* group;
    } cases[] = {
        {"dwarf.cob", 1485, 1896, {"dwarf", "axe"}, "Body"},
        {"molecule.cob", 456, 512, {}, "Nitrogen"},
        {"spider_4_3.cob", 762, 1368, {}, "None"},
        {"spider_6_6.cob", 762, 1368, {}, "None"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CliRun run = run_cli({"info", (folder / c.file).string(), "--json"}, folder);
        ASSERT_EQ(run.status, 0) << run.err;
        json info = json_of(run);
        EXPECT_EQ(info["kind"], "truespace");
        EXPECT_EQ(info["counts"]["subobjects"], 1);
        EXPECT_EQ(info["counts"]["vertices"], c.vertices);
        EXPECT_EQ(info["counts"]["polygons"], c.polygons);
        EXPECT_EQ(info["subobjects"][0]["name"], c.group);
        ASSERT_EQ(info["textures"].size(), c.textures.size());
        for (size_t t = 0; t < c.textures.size(); ++t) {
            EXPECT_EQ(info["textures"][t]["name"], c.textures[t]);
            EXPECT_TRUE(info["textures"][t]["file"].is_null()) << "no such texture file here";
        }
    }
}

} // namespace
