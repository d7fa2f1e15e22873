// meshlook-cli's exit statuses and messages (bad usage is 2, a reader's refusal ends with the
// viewer's status, outputs are replaced only by complete files); extract refusing names that
// would leave the output folder or collide, with nothing written outside it; and render: pixels
// of a drawn quad, a batch over an archive with damaged models, and a thumbnail textured from
// the model's own folder.
#include <unistd.h>

#include <iterator>
#include <tuple>

#include "tests/cli/cli_run.h"
#include "tools/hog_builder.h"

namespace {

TEST(CliErrors, StatusAndMessage) {
    TempDir dir;
    dir.write("bad_magic.oof", build_oof(2300, {}, "PSPX"));
    dir.write("guns.oof", build_oof(2300, {oof_points("GPNT", std::vector<OofPoint>(11))}));
    dir.write("empty.hog", build_hog({{"a.ogf", {1}}}));
    dir.write("built.cob", cob_two_group_model());
    for (const char* kept : {"kept.oof", "kept.txt"})
        dir.write(kept, {'o', 'l', 'd'});
    using Case = std::tuple<std::vector<std::string>, int, const char*>;
    for (const auto& [args, status, message] : std::initializer_list<Case>{
             {{}, 2, "usage: meshlook-cli COMMAND"},
             {{"draw"}, 2, "unknown command 'draw'"},
             {{"info"}, 2, "meshlook-cli info: expects one FILE, got 0 arguments"},
             {{"info", "a.oof", "--colour"}, 2, "unknown option --colour"},
             {{"render", "a.oof", "--size", "0x5"}, 2, "--size wants WIDTHxHEIGHT"},
             {{"render", "a.oof", "--view", "30"}, 2, "--view wants two angles"},
             {{"render", "a.oof", "--all"}, 2, "--all and --sheet draw every polymodel"},
             {{"convert", "built.cob", "kept.txt"}, 2, "OUT must end in .oof, .orf or .obj"},
             {{"info", "missing.oof"}, 254, "missing.oof: ERROR: Can't open the oof file"},
             {{"info", "bad_magic.oof"}, 0, "bad_magic.oof: ERROR: oof header is wrong"},
             {{"info", "guns.oof"}, 7, "guns.oof: ERROR: GPNT > MAX_PNT... ouch"},
             {{"render", "empty.hog"}, 1, "empty.hog: This Hog has no Oof files"},
             {{"convert", "missing.cob", "kept.oof"},
              254,
              "missing.cob: ERROR: Can't open the cob"},
             {{"convert", "built.cob", "no_folder/x.oof"},
              1,
              "ERROR: Can't write the output file"}}) {
        CliRun run = run_cli(args, dir.root());
        EXPECT_EQ(run.status, status) << testing::PrintToString(args);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    for (const char* kept : {"kept.oof", "kept.txt"})
        EXPECT_EQ(read_whole_file(dir.path(kept)), (std::vector<uint8_t>{'o', 'l', 'd'})) << kept;
}

TEST(CliExtract, NamesLeavingTheFolderOrCollidingAreRefused) {
    TempDir dir;
    // An absolute name short enough for an archive entry.
    std::string outside = "/tmp/meshlook-cli-" + std::to_string(getpid());
    std::vector<HogFile> entries;
    for (std::string name :
         {"../x", outside.c_str(), "sub/y", "sub\\z", "..", "ok.oof", "OK.OOF", "link.ogf"})
        entries.push_back({name, {uint8_t(entries.size() + 1)}});
    dir.write("a.hog", build_hog(entries));
    fs::create_directory(dir.root() / "out");
    fs::create_symlink("../target", dir.root() / "out/link.ogf");
    CliRun run = run_cli({"extract", "a.hog", "-o", "out"}, dir.root());

    EXPECT_EQ(run.status, 1);
    for (const char* refusal :
         {"\"../x\": its name contains a folder separator", "is an absolute path",
          "\"sub/y\": its name contains a folder separator",
          "\"sub\\z\": its name contains a folder separator", "\"..\": its name names a folder",
          "\"OK.OOF\": its name collides with entry 5 (ok.oof)",
          "out/link.ogf exists and is not a regular file", "7 entries not extracted"})
        EXPECT_NE(run.err.find(refusal), std::string::npos) << refusal << "\n" << run.err;
    // Nothing but a.hog, out, out/link.ogf and out/ok.oof.
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.root()),
                            fs::recursive_directory_iterator()),
              4);
    EXPECT_EQ(read_whole_file(dir.path("out/ok.oof")), std::vector<uint8_t>{6});
    EXPECT_FALSE(fs::exists(dir.root() / "target") || fs::exists(outside));
    fs::remove(outside);
}

// The lit colour of a surface facing the viewer under the viewer's one light: ambient 0.2 +
// 0.3 and diffuse 0.7 x cos 45 degrees.
int lit(int c) {
    return int(c * 0.99497f + 0.5f);
}

TEST(CliRender, QuadShowsItsColourAndItsThumbnailIsSquareAndTransparent) {
    TempDir dir;
    fs::create_directory(dir.root() / "ship");
    dir.write("ship/quad.oof", oof_square_model(200, 40, 90, true));
    uint16_t texel = pack_1555(248, 8, 128);
    dir.write("ship/paint.ogf", build_ogf(make_ogf_image(2, 2, {texel, texel, texel, texel})));
    // Textured, and drawn without textures (light grey).
    for (auto [option, red, green, blue] :
         {std::tuple{"", 248, 8, 128}, {"--no-textures", 192, 192, 192}}) {
        std::vector<std::string> args = {"render", "quad.oof", "-o",     "out.png",
                                         "--size", "64x48",    "--view", "0,0"};
        if (*option)
            args.push_back(option);
        CliRun run = run_cli(args, dir.root() / "ship");
        ASSERT_EQ(run.status, 0) << run.err;
        QImage png = read_png(dir.root() / "ship/out.png");
        ASSERT_EQ(png.size(), QSize(64, 48));
        expect_colour(png, 32, 24, lit(red), lit(green), lit(blue));
        expect_colour(png, 1, 1, 0, 0, 0);
    }
    // Run from another folder, the thumbnailer finds the texture beside the model.
    CliRun run = run_cli({"thumbnail", "-s", "32", "ship/quad.oof", "thumb.png"}, dir.root());
    ASSERT_EQ(run.status, 0) << run.err;
    QImage png = read_png(dir.root() / "thumb.png");
    ASSERT_EQ(png.size(), QSize(32, 32));
    QRgb centre = png.pixel(16, 16);
    EXPECT_TRUE(qRed(centre) > 100 && qGreen(centre) < 30 && qBlue(centre) > 50)
        << "the texture, not the grey of a missing one: " << std::hex << centre;
    expect_colour(png, 0, 0, 0, 0, 0, 0);
}

TEST(CliRender, AllGoesPastDamagedModelsAndNamesThem) {
    TempDir dir;
    std::vector<OofChunk> too_many_guns = {oof_points("GPNT", std::vector<OofPoint>(11))};
    dir.write("demo.hog", build_hog({{"red.oof", oof_square_model(250, 0, 0)},
                                     {"bad.oof", {'X', 'X', 'X', 'X', 0, 0, 0, 0}},
                                     {"green.oof", oof_square_model(0, 250, 0)},
                                     {"guns.oof", build_oof(2300, too_many_guns)}}));
    CliRun run =
        run_cli({"render", "demo.hog", "--all", "-o", "pngs", "--size", "32x32", "--view", "0,0"},
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
}

} // namespace
