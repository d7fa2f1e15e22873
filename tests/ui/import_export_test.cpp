// The File menu's Import and Export commands on the real window: rooms and trueSpace files in,
// polymodels and rooms out, cancels, nothing loaded, and a write that fails.
#include <QColor>
#include <QImage>
#include <algorithm>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/orf_builder.h"
#include "ui/status_text.h"
#include "ui/templates.h"

namespace {

class ImportExportTest : public UiTest {
  protected:
    // A 20 x 20 room square from x = 10 to 30, facing +Z, using "maps\brick.bmp".
    std::string room() {
        std::vector<Vec3> square{{10, 10, 0}, {30, 10, 0}, {30, 30, 0}, {10, 30, 0}};
        OrfPolygon polygon{{0, 0, 1}, 0, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}};
        return dir.write("room.orf", build_orf(square, {"maps\\brick.bmp"}, {polygon}));
    }
    std::string trueSpace_object() {
        CobBuilder cob;
        uint32_t group = cob.grou("hull", {0, 0, 0});
        cob.polh(cob_single_face({{0, 10, -10}, {0, -10, -10}, {0, -10, 10}, {0, 10, 10}}), group);
        cob.mat1({0, 0.9f, 0.2f, 0.1f, {}});
        cob.end();
        return dir.write("hull.cob", cob.bytes());
    }
    int lit_pixels() {
        QImage image = frame();
        int n = 0;
        for (int y = 0; y < image.height() - 24; ++y) // above the status caption
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) != QColor(0, 0, 0);
        return n;
    }
};

TEST_F(ImportExportTest, ImportedRoomReplacesTheArchiveModelAndIsDrawn) {
    open_window();
    command_with_file(CMD_LOAD_HOG, dir.write("one.hog", build_hog({{"m.oof", square_model()}})));
    window->command(CMD_RIGHT);
    command_with_file(CMD_IMPORT_ORF, room());
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(hog.num_entries + hog.num_oof + hog.num_ogf + hog.num_oaf, 0u) << "archive left";
    EXPECT_EQ(view.cur_hog_oof, 0u);
    EXPECT_EQ(view.rot_y, START_ROT);
    EXPECT_EQ(model.num_subobjects, 1u);
    EXPECT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(model.vertices[0], (Vec3{-10, -10, 0})) << "centred";
    EXPECT_STREQ(model.textures[0].name, "brick");
    EXPECT_GT(model.model_radius, 0.0f) << "prepared after reading";
    EXPECT_TRUE(window->menu_action(CMD_POLYMODEL_INFO)->isEnabled());
    settle();
    EXPECT_GT(lit_pixels(), 100);
    EXPECT_EQ(status_caption_text(), " ") << "the caption keeps the last Load Oof path";
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ImportExportTest, ImportedTrueSpaceObjectIsDrawnInItsColour) {
    open_window();
    command_with_file(CMD_IMPORT_COB, trueSpace_object());
    EXPECT_EQ(view.model_loaded, 1);
    ASSERT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(model.polygons[0].n_txtr, 0u);
    EXPECT_EQ(model.polygons[0].color.red, 229);
    window->command(CMD_CULL_FACE); // whichever way the face turns, it shows
    settle();
    QImage image = frame();
    int reddish = 0;
    for (int y = 0; y < image.height() - 24; ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            reddish += c.red() > 2 * c.green() + 10 && c.red() > 2 * c.blue() + 10;
        }
    EXPECT_GT(reddish, 100);
}

TEST_F(ImportExportTest, CancelledOrUnreadableImportsChangeNothing) {
    open_window();
    command_with_file(CMD_LOAD_OOF, dir.write("m.oof", square_model()));
    uint32_t polygons = model.num_polygons;
    window->command(CMD_IMPORT_COB); // the scripted dialog answers with a cancel
    command_with_file(CMD_IMPORT_ORF, dir.path("missing.orf"));
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_STREQ(view.import_path, "");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ImportExportTest, ExportWithNothingLoadedOrCancelledWritesNothing) {
    open_window();
    std::string out = dir.path("nothing.oof");
    command_with_file(CMD_EXPORT_OOF, out);
    EXPECT_STREQ(view.export_path, out.c_str()) << "the chosen name is still taken";
    EXPECT_FALSE(std::filesystem::exists(out));
    command_with_file(CMD_LOAD_OOF, dir.write("m.oof", square_model()));
    window->command(CMD_EXPORT_ORF); // cancel
    EXPECT_STREQ(view.export_path, out.c_str());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.root()), {}), 1);
}

TEST_F(ImportExportTest, FailedWriteIsReportedAndTheProgramGoesOn) {
    open_window();
    command_with_file(CMD_LOAD_OOF, dir.write("m.oof", square_model()));
    command_with_file(CMD_EXPORT_OOF, dir.path("no/such/folder/out.oof"));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].caption, "ERROR");
    EXPECT_EQ(sink.boxes[0].text, "Can't write the output file");
    EXPECT_EQ(view.model_loaded, 1);
}

} // namespace
