// Load Hog, Next/Previous, the Refresh requests, Reload, Load Oof and Import on the store, with
// scripted file dialogs; the status caption and information text they leave.
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/orf_builder.h"
#include "tools/small_models.h"
#include "ui/commands.h"
#include "ui/file_dialogs.h"
#include "ui/script.h"
#include "ui/status_text.h"
#include "ui/templates.h"

namespace {

class LoadCommandsTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        install_file_picker(&picker);
    }
    void TearDown() override {
        install_file_picker(nullptr);
        CoreTest::TearDown();
    }
    void with_file(int id, const std::string& path) {
        picker.push(path);
        run_command(id);
    }
    std::string last_box() { return last_caption() + ": " + last_text(); }
    ScriptedFilePicker picker;
};

TEST_F(LoadCommandsTest,
       ArchiveStepsWithoutWrappingRefreshActsOnItsRequestsAndLongPathsAreRefused) {
    // Requests before any load are dropped; left set, the next Previous would only refresh.
    view.refresh_only = view.selection_changed = view.hog_pick_pending = 1;
    run_command(CMD_REFRESH);
    EXPECT_EQ(view.refresh_only + view.selection_changed + view.hog_pick_pending, 0);
    view.zoom_locked = 1; // the archive's models differ in their number of subobjects
    with_file(CMD_LOAD_HOG, dir.write("ships.hog", build_hog({{"m1.oof", oof_panel_model(1)},
                                                              {"m2.oof", oof_panel_model(2)},
                                                              {"t.ogf", {}},
                                                              {"m3.oof", oof_panel_model(3)}})));
    EXPECT_EQ(status_caption_text(), " 1/3 : m1.oof");
    EXPECT_EQ(view.zoom_locked, 0);
    run_command(CMD_RIGHT);
    std::string shown; // subobjects and archive position after each step
    for (int command : {CMD_NEXT, CMD_NEXT, CMD_NEXT, CMD_PREVIOUS, CMD_PREVIOUS, CMD_PREVIOUS}) {
        run_command(command);
        shown += std::to_string(model.num_subobjects) + std::to_string(view.cur_hog_oof + 1) + " ";
    }
    EXPECT_EQ(shown, "22 33 33 22 11 11 ");
    EXPECT_EQ(view.rot_y, START_ROT) << "every new load puts back the start orientation";

    view.rot_x = 12;
    view.cur_hog_oof = 2;
    view.hog_pick_pending = 1;
    run_command(CMD_REFRESH);
    EXPECT_EQ(model.num_subobjects, 3u) << "the picked model, not the one before";
    EXPECT_EQ(view.rot_x + view.hog_pick_pending, START_ROT);
    // A selection change rebuilds without reloading: the store keeps its edits.
    view.rot_x = 12;
    model.sobj_name[0][0] = 'Q';
    view.selection_changed = 1;
    run_command(CMD_REFRESH);
    EXPECT_EQ(model.sobj_name[0][0] + view.rot_x + view.selection_changed, 'Q' + 12);
    // Reload reads the model again but keeps orientation and a manual zoom.
    view.zoom_locked = 1;
    view.zoom = 77;
    run_command(CMD_RELOAD);
    EXPECT_EQ(model.sobj_name[0][0], 's');
    EXPECT_EQ(view.rot_x + view.zoom, 12 + 77);

    // An archive without polymodels keeps the model shown, and Reload does not end the run.
    with_file(CMD_LOAD_HOG, dir.write("empty.hog", build_hog({{"t.ogf", {}}})));
    EXPECT_EQ(last_box(), "Info: This Hog has no Oof files");
    run_command(CMD_RELOAD);
    EXPECT_EQ(model.num_subobjects, 3u);
    EXPECT_EQ(status_caption_text(), " 3/3 : m3.oof");

    // A loose file is named by its file name; an import leaves the archive and that name.
    with_file(CMD_LOAD_OOF, dir.write("ship.oof", oof_panel_model(2)));
    EXPECT_EQ(status_caption_text(), " ship.oof");
    with_file(CMD_IMPORT_ORF, dir.write("room.orf", orf_sample_room()));
    EXPECT_EQ(status_caption_text(), " ship.oof");
    EXPECT_EQ(polymodel_info_text(), "Oof Name: ship.oof\nTotal Vertices 5\nTotal Polygons 3\n"
                                     "Total Textures 3\nTotal Sobj 1\n\n");

    // A path that does not fit is refused with a warning.
    std::string longest_fitting = "/" + std::string(254, 'a');
    picker.push(longest_fitting);
    choose_open_file(KIND_OOF);
    EXPECT_EQ(view.file_dialog_result, longest_fitting);
    picker.push(longest_fitting + "a");
    choose_save_file(KIND_OOF);
    EXPECT_STREQ(view.file_dialog_result, "");
    EXPECT_EQ(last_box(), "WARNING: GetOpenFileName returned Error #12291");
    EXPECT_EQ(sink.boxes.back().icon, BoxIcon::error);
}

} // namespace
