// The View Settings procedure on fake controls: what each refresh shows, the record-number
// groups with their requests, the archive list and the switches with their extra effects.
#include <cstring>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "ui/commands.h"
#include "ui/control_ids.h"

namespace {

class ViewSettingsTest : public DialogTest<> {
  protected:
    // A loaded model of three subobjects, two textures and two keyframes, from an archive of
    // three polymodels after a texture entry.
    void model_of_three() {
        view.model_loaded = 1;
        model.num_subobjects = 3;
        std::strcpy(model.sobj_name[1], "turret");
        std::strcpy(model.sobj_props[1], "$fov=90");
        model.sobj_num_polys[1] = 12;
        model.sobj_num_verts[1] = 30;
        model.num_polygons = 40;
        model.num_vertices = 99;
        model.num_textures = 2;
        std::strcpy(model.textures[1].name, "hull");
        std::strcpy(model.textures[1].loaded_file, "hull.ogf");
        model.num_used_frames = 2;
        model.used_frames[1] = 25;
        hog.num_entries = 4;
        std::strcpy(hog.hog_path, "/data/ships.hog");
        for (uint32_t e : {1, 2, 3}) {
            std::snprintf(hog.entries[e].name, sizeof hog.entries[e].name, "%c.oof", 'a' + e - 1);
            hog.oof_entries[hog.num_oof++] = e;
        }
    }
    FakeDialogControls& open() {
        run_command(CMD_VIEW_SETTINGS);
        main.commands.clear();
        return host.windows.back()->controls;
    }
    DialogProcedure& procedure() { return *host.windows.back()->procedure; }
    std::string text(int id) { return host.windows.back()->controls.text(id, 100); }
};

TEST_F(ViewSettingsTest, ShowsNothingLoadedALooseFileAnArchiveOrNotLoadedTextures) {
    FakeDialogControls& c = open();
    EXPECT_EQ(text(VS_FILE_NAME), "-- No FIle Loaded --");
    for (int id : {VS_HOG_COUNT, VS_TOTAL_POLYS, VS_SOBJ_COUNT, VS_TEXTURE_COUNT, VS_KEY_COUNT})
        EXPECT_EQ(text(id), "0") << id;
    for (int id : {VS_HOG_LIST, VS_HOG_NUMBER, VS_SOBJ_NUMBER, VS_TEXTURE_NUMBER, VS_KEY_NUMBER})
        EXPECT_FALSE(c.enabled(id)) << id;
    EXPECT_EQ(text(VS_SOBJ_POLYS), "poly") << "kept as it showed";

    model_of_three();
    hog.num_entries = 0; // a loose file
    std::strcpy(view.oof_path, "/models/ship.oof");
    view.cur_sobj = view.cur_texture = view.cur_keyframe = 1;
    procedure().init(INIT_FULL);
    EXPECT_EQ(text(VS_FILE_NAME), "/models/ship.oof");
    EXPECT_EQ(text(VS_HOG_COUNT), "1");
    EXPECT_FALSE(c.row_count(VS_HOG_LIST) || c.enabled(VS_HOG_LIST) || c.enabled(VS_HOG_NUMBER));
    const std::pair<int, const char*> shown[] = {
        {VS_SOBJ_NUMBER, "2"},      {VS_SOBJ_COUNT, "3"},      {VS_SOBJ_NAME, "turret"},
        {VS_SOBJ_PROPS, "$fov=90"}, {VS_SOBJ_POLYS, "12"},     {VS_SOBJ_VERTS, "30"},
        {VS_TOTAL_POLYS, "40"},     {VS_TOTAL_VERTS, "99"},    {VS_TEXTURE_NUMBER, "2"},
        {VS_TEXTURE_COUNT, "2"},    {VS_TEXTURE_NAME, "hull"}, {VS_TEXTURE_FILE, "hull.ogf"},
        {VS_KEY_NUMBER, "2"},       {VS_KEY_COUNT, "2"},       {VS_KEY_FRAME, "25"}};
    for (auto [id, want] : shown)
        EXPECT_EQ(text(id), want) << id;

    view.show_textures = 0;
    hog.num_entries = 4;
    view.cur_hog_oof = 2;
    procedure().init(INIT_FULL);
    EXPECT_EQ(text(VS_TEXTURE_FILE), "Not Loaded");
    EXPECT_EQ(text(VS_FILE_NAME), "/data/ships.hog");
    EXPECT_EQ(c.control(VS_HOG_LIST).rows, (std::vector<std::string>{"a.oof", "b.oof", "c.oof"}));
    EXPECT_EQ(c.selected_row(VS_HOG_LIST), 2);
    EXPECT_EQ(text(VS_HOG_NUMBER), "3");

    // Code 2 keeps the rows, code 1 touches only the keyframe fields; none sends anything.
    std::strcpy(hog.entries[1].name, "renamed.oof");
    view.cur_keyframe = 0;
    procedure().init(INIT_KEEP_LIST);
    EXPECT_EQ(c.control(VS_HOG_LIST).rows[0], "a.oof");
    model.used_frames[0] = 8;
    model.num_polygons = 1;
    procedure().init(INIT_KEYFRAME_ONLY);
    EXPECT_EQ(text(VS_KEY_FRAME), "8");
    EXPECT_EQ(text(VS_TOTAL_POLYS), "40");
    EXPECT_TRUE(main.commands.empty());

    model.num_used_frames = 0; // no keys: an empty disabled field, no frame number
    procedure().init(INIT_FULL);
    EXPECT_EQ(text(VS_KEY_NUMBER) + text(VS_KEY_FRAME), "");
    EXPECT_FALSE(c.enabled(VS_KEY_NUMBER));
}

TEST_F(ViewSettingsTest, GroupsSendTheirRequestAndMoveTheHighlight) {
    model_of_three();
    FakeDialogControls& controls = open();
    view.highlight_sobj = 1;
    view.sobj_highlight[0] = 1;
    int32_t* selection = &view.selection_changed;
    struct Case {
        int field, id;
        const char* typed;
        uint32_t* index;
        uint32_t want;
        int32_t* request; // nullptr: nothing sent, and the field rewritten
    } cases[] = {
        {VS_SOBJ_NUMBER, VS_SOBJ_NUMBER, "3", &view.cur_sobj, 2, selection},
        {VS_SOBJ_NUMBER, VS_SOBJ_NUMBER, "003", &view.cur_sobj, 2, nullptr},
        {VS_SOBJ_NUMBER, VS_SOBJ_MINUS, "1", &view.cur_sobj, 0, selection},
        {VS_SOBJ_NUMBER, VS_SOBJ_MINUS, "1", &view.cur_sobj, 0, selection},
        {VS_TEXTURE_NUMBER, VS_TEXTURE_PLUS, "2", &view.cur_texture, 1, selection},
        {VS_KEY_NUMBER, VS_KEY_PLUS, "9", &view.cur_keyframe, 1, selection},
        {VS_HOG_NUMBER, VS_HOG_PLUS, "3", &view.cur_hog_oof, 2, &view.hog_pick_pending},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.typed);
        main.commands.clear();
        view.selection_changed = view.hog_pick_pending = 0;
        controls.set_text(c.field, c.typed);
        procedure().command(c.id, c.id == c.field ? NOTIFY_LOST_FOCUS : NOTIFY_CLICKED);
        EXPECT_EQ(*c.index, c.want);
        EXPECT_EQ(c.request ? *c.request : 1, 1);
        EXPECT_EQ(main.commands.size(), c.request ? 1u : 0u);
        EXPECT_EQ(text(c.field), c.request ? text(c.field) : "3");
    }
    // The highlight went with the subobject: only the current one is marked.
    EXPECT_EQ(view.sobj_highlight[0] + 2 * view.sobj_highlight[2], 1);

    // The archive list: the current row does nothing, another loads.
    main.commands.clear();
    for (int row : {2, 0}) {
        controls.select_row(VS_HOG_LIST, row);
        procedure().command(VS_HOG_LIST, NOTIFY_SELECTION_CHANGED);
    }
    EXPECT_EQ(view.cur_hog_oof, 0u);
    EXPECT_EQ(main.commands, std::vector<int>{CMD_REFRESH});
}

TEST_F(ViewSettingsTest, SwitchesRedrawAndRotateRestartsEverySpin) {
    model_of_three();
    FakeDialogControls& c = open();
    view.spin_angle[0] = 45;
    view.spin_angle[2] = 90;
    procedure().command(VS_ROTATE, NOTIFY_CLICKED);
    EXPECT_TRUE(main.timer_running);
    EXPECT_EQ(view.spin_angle[0] + view.spin_angle[2], 0.0f);
    EXPECT_EQ(view.refresh_only, 1);
    procedure().command(VS_ROTATE, NOTIFY_CLICKED);
    EXPECT_FALSE(main.timer_running);

    view.cur_texture = 1;
    procedure().command(VS_HIGHLIGHT_TEXTURE, NOTIFY_CLICKED);
    EXPECT_TRUE(view.texture_highlight[1] == 1 && c.checked(VS_HIGHLIGHT_TEXTURE));
    for (int id : {VS_FACING, VS_POSITIONS, VS_GLOW, VS_FLAT_COLORS}) {
        bool before = c.checked(id);
        procedure().command(id, NOTIFY_CLICKED);
        EXPECT_NE(c.checked(id), before) << id;
    }
    EXPECT_EQ(view.facing_on + view.positions_on + view.glow_on + view.flat_colors, 3);

    // The close box asks the main window to close it.
    procedure().close();
    EXPECT_EQ(main.commands.back(), CMD_VIEW_SETTINGS);
}

} // namespace
