// meshlook-cli render and thumbnail: pixels of a drawn quad, a batch over an archive with
// damaged models, a contact sheet and a transparent thumbnail.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

// A 20 x 20 square facing the viewer of the front view, flat coloured or textured with "paint".
std::vector<uint8_t> quad_model(uint8_t red, uint8_t green, uint8_t blue, bool textured = false) {
    OofSubobject sobj;
    sobj.name = std::string("quad") + '\0';
    sobj.positions = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}};
    sobj.normals.assign(4, {0, 0, 1});
    sobj.alphas.assign(4, 1);
    OofPolygon quad;
    quad.n_txtr = textured ? 1 : 0;
    quad.red = red;
    quad.green = green;
    quad.blue = blue;
    quad.corners = {{0, 1, 0}, {1, 0, 0}, {2, 0, 1}, {3, 1, 1}};
    sobj.polygons = {quad};
    std::vector<OofChunk> chunks;
    if (textured)
        chunks.push_back(oof_txtr({std::string("paint") + '\0'}));
    chunks.push_back(oof_sobj(sobj, 2300));
    return build_oof(2300, chunks);
}

// The lit colour of a surface facing the viewer under the viewer's one light: ambient 0.2 +
// 0.3 and diffuse 0.7 x cos 45 degrees.
int lit(int c) {
    return int(c * 0.99497f + 0.5f);
}

void expect_colour(const std::vector<int>& got, int r, int g, int b, int a = 255) {
    EXPECT_NEAR(got[0], r, 2);
    EXPECT_NEAR(got[1], g, 2);
    EXPECT_NEAR(got[2], b, 2);
    EXPECT_EQ(got[3], a);
}

TEST(CliRender, QuadShowsItsColourAtTheCentre) {
    const struct {
        const char* name;
        bool textured;
        std::vector<std::string> options;
        int red, green, blue;
    } cases[] = {
        {"flat", false, {}, lit(200), lit(40), lit(90)},
        {"textured", true, {}, lit(248), lit(8), lit(128)},
        {"without textures light grey", true, {"--no-textures"}, lit(192), lit(192), lit(192)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("quad.oof", quad_model(200, 40, 90, c.textured));
        uint16_t texel = pack_1555(248, 8, 128);
        dir.write("paint.ogf", build_ogf(make_ogf_image(2, 2, {texel, texel, texel, texel})));
        std::vector<std::string> args = {"render", "quad.oof", "-o",     "out.png",
                                         "--size", "64x48",    "--view", "0,0"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliRun run = run_cli(args, dir.root());
        ASSERT_EQ(run.status, 0) << run.err;
        DecodedPng png = read_png(dir.root() / "out.png");
        ASSERT_EQ(png.width, 64);
        ASSERT_EQ(png.height, 48);
        EXPECT_EQ(png.channels, 3);
        expect_colour(png.at(32, 24), c.red, c.green, c.blue);
        expect_colour(png.at(1, 1), 0, 0, 0);
    }
}

TEST(CliRender, AllGoesPastDamagedModelsAndNamesThem) {
    TempDir dir;
    std::vector<OofChunk> too_many_guns = {oof_points("GPNT", std::vector<OofPoint>(11))};
    dir.write("demo.hog", build_hog({{"red.oof", quad_model(250, 0, 0)},
                                     {"bad.oof", {'X', 'X', 'X', 'X', 0, 0, 0, 0}},
                                     {"green.oof", quad_model(0, 250, 0)},
                                     {"guns.oof", build_oof(2300, too_many_guns)}}));
    CliRun run = run_cli({"render", "demo.hog", "--all", "-o", "pngs", "--size", "32x32", "--view",
                          "0,0", "--sheet", "sheet.png"},
                         dir.root());

    EXPECT_EQ(run.status, 1);
    for (const char* line : {"demo.hog:bad.oof: ERROR: oof header is wrong",
                             "demo.hog:guns.oof: ERROR: GPNT > MAX_PNT... ouch",
                             "demo.hog: 2 of 4 polymodels not rendered"})
        EXPECT_NE(run.err.find(line), std::string::npos) << line << "\n" << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos) << "no progress line off a terminal";
    EXPECT_FALSE(fs::exists(dir.root() / "pngs/bad.png"));
    EXPECT_FALSE(fs::exists(dir.root() / "pngs/guns.png"));
    expect_colour(read_png(dir.root() / "pngs/red.png").at(16, 16), lit(250), 0, 0);
    expect_colour(read_png(dir.root() / "pngs/green.png").at(16, 16), 0, lit(250), 0);

    // Two columns of 32-pixel cells with a 4-pixel gap, a 13-pixel name row under each.
    DecodedPng sheet = read_png(dir.root() / "sheet.png");
    ASSERT_EQ(sheet.width, 4 + 2 * (32 + 4));
    ASSERT_EQ(sheet.height, 4 + 2 * (32 + 13 + 4));
    expect_colour(sheet.at(4 + 16, 4 + 16), lit(250), 0, 0);
    expect_colour(sheet.at(4 + 16, 4 + 49 + 16), 0, lit(250), 0);
}

TEST(CliRender, ThumbnailIsSquareWithATransparentBackground) {
    TempDir dir;
    dir.write("demo.hog", build_hog({{"red.oof", quad_model(250, 0, 0)}}));
    CliRun run = run_cli({"thumbnail", "-s", "48", "demo.hog", "thumb.png"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    DecodedPng png = read_png(dir.root() / "thumb.png");
    ASSERT_EQ(png.width, 48);
    ASSERT_EQ(png.height, 48);
    EXPECT_EQ(png.channels, 4);
    EXPECT_EQ(png.at(0, 0)[3], 0);
    EXPECT_EQ(png.at(24, 24)[3], 255);
    EXPECT_GT(png.at(24, 24)[0], 150);
}

} // namespace
