// The View Settings procedure on fake controls: what each refresh shows, the record-number
// groups with their requests and the switches with their extra effects.
#include "archive/hog_index.h"
#include "tests/support/fake_dialog_host.h"

namespace {

class ViewSettingsTest : public DialogTest<> {
  protected:
    // A loaded model of three subobjects, two textures and two keyframes (the second current),
    // from an archive of three polymodels after a texture entry; the dialog open.
    void SetUp() override {
        DialogTest::SetUp();
        view.model_loaded = 1;
        model.num_subobjects = 3;
        std::strcpy(model.sobj_name[1], "turret");
        model.sobj_num_polys[1] = 12;
        model.num_polygons = 40;
        model.num_textures = 2;
        std::strcpy(model.textures[1].loaded_file, "hull.ogf");
        model.num_used_frames = 2;
        model.used_frames[0] = 8;
        model.used_frames[1] = 25;
        hog.num_entries = 4;
        std::strcpy(hog.hog_path, "/data/ships.hog");
        for (uint32_t e : {1, 2, 3}) {
            std::snprintf(hog.entries[e].name, sizeof hog.entries[e].name, "%c.oof", 'a' + e - 1);
            hog.oof_entries[hog.num_oof++] = e;
        }
        view.cur_sobj = view.cur_texture = view.cur_keyframe = 1;
        run_command(CMD_VIEW_SETTINGS);
        main.commands.clear();
    }
    FakeDialogControls& c() { return host.windows.back()->controls; }
    DialogProcedure& procedure() { return *host.windows.back()->procedure; }
};

TEST_F(ViewSettingsTest, FullRefreshShowsTheFileOrArchiveAndKeyframeKeysOnlyTheKeyframe) {
    hog.num_entries = 0; // a loose file
    std::strcpy(view.oof_path, "/models/ship.oof");
    procedure().init(INIT_FULL);
    EXPECT_EQ(c().texts({VS_FILE_NAME, VS_HOG_COUNT, VS_SOBJ_NUMBER, VS_SOBJ_COUNT, VS_SOBJ_NAME,
                         VS_SOBJ_POLYS, VS_TOTAL_POLYS, VS_TEXTURE_NUMBER, VS_TEXTURE_COUNT,
                         VS_TEXTURE_FILE, VS_KEY_NUMBER, VS_KEY_COUNT, VS_KEY_FRAME}),
              "/models/ship.oof 1 2 3 turret 12 40 2 2 hull.ogf 2 2 25 ");
    EXPECT_FALSE(c().row_count(VS_HOG_LIST) || c().enabled(VS_HOG_LIST) ||
                 c().enabled(VS_HOG_NUMBER));

    view.show_textures = 0;
    hog.num_entries = 4;
    view.cur_hog_oof = 2;
    procedure().init(INIT_FULL);
    EXPECT_EQ(c().texts({VS_FILE_NAME, VS_TEXTURE_FILE, VS_HOG_NUMBER}),
              "/data/ships.hog Not Loaded 3 ");
    EXPECT_EQ(c().control(VS_HOG_LIST).rows, (std::vector<std::string>{"a.oof", "b.oof", "c.oof"}));
    EXPECT_EQ(c().selected_row(VS_HOG_LIST), 2);

    // The keyframe keys act with Positions on, and refresh the keyframe fields alone.
    EXPECT_EQ(key_down(ViewKey::digit9), effect_none);
    view.positions_on = 1;
    model.num_polygons = 1;
    uint32_t step = effect_notify_keyframe | effect_project | effect_rebuild | effect_redraw;
    std::string shown; // the keyframe number and frame after each key
    for (auto key :
         {ViewKey::digit9, ViewKey::digit8, ViewKey::digit8, ViewKey::digit9, ViewKey::digit0}) {
        uint32_t effects = key_down(key);
        EXPECT_EQ(effects, step) << "at either end it refreshes anyway";
        notify_dialogs(effects);
        shown += c().texts({VS_KEY_NUMBER, VS_KEY_FRAME}) + "| ";
    }
    EXPECT_EQ(shown, "2 25 | 1 8 | 1 8 | 2 25 | 1 8 | ");
    EXPECT_EQ(c().texts({VS_TOTAL_POLYS}), "40 ");
}

// The view keys in turn: side, start, front, top, bottom, then the 5-degree steps. Angles keep
// whole degrees.
TEST_F(ViewSettingsTest, ViewKeysTurnTheModel) {
    std::string turned;
    for (auto key : {ViewKey::s, ViewKey::d, ViewKey::f, ViewKey::e, ViewKey::c, ViewKey::left,
                     ViewKey::up, ViewKey::right, ViewKey::down}) {
        EXPECT_EQ(key_down(key), effect_redraw);
        char angles[32];
        std::snprintf(angles, sizeof angles, "%g,%g ", view.rot_x, view.rot_y);
        turned += angles;
    }
    EXPECT_EQ(turned, "0,270 30,30 0,0 90,0 270,0 270,-5 265,-5 265,0 270,0 ");
}

TEST_F(ViewSettingsTest, GroupsClampTheTypedNumberSendTheirRequestAndMoveTheHighlight) {
    view.cur_sobj = view.cur_texture = view.cur_keyframe = 0;
    view.highlight_sobj = 1;
    view.sobj_highlight[0] = 1;
    int32_t* selection = &view.selection_changed;
    // Field, control, typed, index, chosen, request (nullptr: nothing sent, the field rewritten;
    // otherwise the refresh rewrites it).
    const std::tuple<int, int, const char*, uint32_t*, uint32_t, int32_t*> cases[] = {
        {VS_SOBJ_NUMBER, VS_SOBJ_NUMBER, "3", &view.cur_sobj, 2, selection},
        {VS_SOBJ_NUMBER, VS_SOBJ_NUMBER, "003", &view.cur_sobj, 2, nullptr},
        {VS_SOBJ_NUMBER, VS_SOBJ_MINUS, "1", &view.cur_sobj, 0, selection},         // no wrap
        {VS_SOBJ_NUMBER, VS_SOBJ_NUMBER, "-3", &view.cur_sobj, 2, selection},       // the count
        {VS_TEXTURE_NUMBER, VS_TEXTURE_PLUS, "2", &view.cur_texture, 1, selection}, // no wrap
        {VS_KEY_NUMBER, VS_KEY_PLUS, "9", &view.cur_keyframe, 1, selection},        // the count
        {VS_HOG_NUMBER, VS_HOG_PLUS, "3", &view.cur_hog_oof, 2, &view.hog_pick_pending},
    };
    for (auto [field, id, typed, index, want, request] : cases) {
        main.commands.clear();
        view.selection_changed = view.hog_pick_pending = 0;
        c().set_text(field, typed);
        procedure().command(id, id == field ? NOTIFY_LOST_FOCUS : NOTIFY_CLICKED);
        EXPECT_EQ(*index, want) << typed;
        EXPECT_EQ(request ? *request : 1, 1) << typed;
        EXPECT_EQ(main.commands.size(), request ? 1u : 0u) << typed;
        EXPECT_EQ(c().texts({field}), request ? typed + std::string(" ") : "3 ");
    }
    c().set_text(VS_SOBJ_NUMBER, "1");
    procedure().command(VS_SOBJ_NUMBER, NOTIFY_CLICKED);
    EXPECT_EQ(view.cur_sobj, 2u) << "typing alone does nothing";
    // The highlight went with the subobject: only the current one is marked.
    EXPECT_EQ(view.sobj_highlight[0] + 2 * view.sobj_highlight[2], 2);
}

TEST_F(ViewSettingsTest, SwitchesRedrawAndRotateRestartsEverySpin) {
    view.spin_angle[0] = 45;
    view.spin_angle[2] = 90;
    procedure().command(VS_ROTATE, NOTIFY_CLICKED);
    EXPECT_TRUE(main.timer_running);
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[2], 0.0f);
    EXPECT_EQ(view.refresh_only, 1);
    procedure().command(VS_ROTATE, NOTIFY_CLICKED);
    EXPECT_FALSE(main.timer_running);

    std::string checked;
    for (int id : {VS_HIGHLIGHT_TEXTURE, VS_FACING, VS_POSITIONS, VS_GLOW, VS_FLAT_COLORS}) {
        procedure().command(id, NOTIFY_CLICKED);
        checked += std::to_string(c().checked(id));
    }
    EXPECT_EQ(checked, "11110"); // Flat Colors starts on
    EXPECT_EQ(view.texture_highlight[1] + view.facing_on + view.positions_on + view.glow_on +
                  view.flat_colors,
              4);
}

} // namespace
