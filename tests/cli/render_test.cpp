// meshlook-cli render and thumbnail: pixels of a drawn quad, a batch over an archive with
// damaged models, a contact sheet and a transparent thumbnail.
#include <gtest/gtest.h>

#include "tests/cli/cli_run.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/small_models.h"
#include "tools/texture_builder.h"

namespace fs = std::filesystem;

namespace {

// The lit colour of a surface facing the viewer under the viewer's one light: ambient 0.2 +
// 0.3 and diffuse 0.7 x cos 45 degrees.
int lit(int c) {
    return int(c * 0.99497f + 0.5f);
}

TEST(CliRender, QuadShowsItsColourAtTheCentre) {
    const struct {
        bool textured;
        const char* option;
        int red, green, blue;
    } cases[] = {{false, "", 200, 40, 90},
                 {true, "", 248, 8, 128},
                 {true, "--no-textures", 192, 192, 192}}; // light grey without textures
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.textured << c.option);
        TempDir dir;
        dir.write("quad.oof", oof_square_model(200, 40, 90, c.textured));
        uint16_t texel = pack_1555(248, 8, 128);
        dir.write("paint.ogf", build_ogf(make_ogf_image(2, 2, {texel, texel, texel, texel})));
        std::vector<std::string> args = {"render", "quad.oof", "-o",     "out.png",
                                         "--size", "64x48",    "--view", "0,0"};
        if (*c.option)
            args.push_back(c.option);
        CliRun run = run_cli(args, dir.root());
        ASSERT_EQ(run.status, 0) << run.err;
        QImage png = read_png(dir.root() / "out.png");
        ASSERT_EQ(png.size(), QSize(64, 48));
        EXPECT_FALSE(png.hasAlphaChannel());
        expect_colour(png, 32, 24, lit(c.red), lit(c.green), lit(c.blue));
        expect_colour(png, 1, 1, 0, 0, 0);
    }
}

TEST(CliRender, AllGoesPastDamagedModelsAndNamesThem) {
    TempDir dir;
    std::vector<OofChunk> too_many_guns = {oof_points("GPNT", std::vector<OofPoint>(11))};
    dir.write("demo.hog", build_hog({{"red.oof", oof_square_model(250, 0, 0)},
                                     {"bad.oof", {'X', 'X', 'X', 'X', 0, 0, 0, 0}},
                                     {"green.oof", oof_square_model(0, 250, 0)},
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
    EXPECT_FALSE(fs::exists(dir.root() / "pngs/bad.png") ||
                 fs::exists(dir.root() / "pngs/guns.png"));
    expect_colour(read_png(dir.root() / "pngs/red.png"), 16, 16, lit(250), 0, 0);
    expect_colour(read_png(dir.root() / "pngs/green.png"), 16, 16, 0, lit(250), 0);

    // Two columns of 32-pixel cells with a 4-pixel gap, a 13-pixel name row under each.
    QImage sheet = read_png(dir.root() / "sheet.png");
    ASSERT_EQ(sheet.size(), QSize(4 + 2 * (32 + 4), 4 + 2 * (32 + 13 + 4)));
    expect_colour(sheet, 4 + 16, 4 + 16, lit(250), 0, 0);
    expect_colour(sheet, 4 + 16, 4 + 49 + 16, 0, lit(250), 0);

    // A thumbnail is square, transparent round the model.
    ASSERT_EQ(run_cli({"thumbnail", "-s", "48", "demo.hog", "thumb.png"}, dir.root()).status, 0);
    QImage thumb = read_png(dir.root() / "thumb.png");
    ASSERT_EQ(thumb.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(thumb.pixel(24, 24)), 255);
    EXPECT_GT(qRed(thumb.pixel(24, 24)), 150);
}

} // namespace
