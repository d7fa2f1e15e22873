// The Edit Window frame and its pages on fakes; the main window carries out the pages'
// requests through the real Refresh, which refreshes the shown page.
#include "formats/model_properties.h"
#include "tests/support/fake_dialog_host.h"
#include "ui/plain_dialog.h"
#include "ui/point_page.h"

namespace {

constexpr int GUN = WB_FIRST_GUN, TURRET = WB_FIRST_TURRET;
using List = std::vector<uint32_t>;

// Records each request as 's' (selection changed), 'r' (redraw) or '-' (none), then refreshes.
class RefreshingMainWindow : public FakeMainWindow {
  public:
    void command(int id) override {
        requests += view.selection_changed ? 's' : view.refresh_only ? 'r' : '-';
        FakeMainWindow::command(id);
        notify_dialogs(run_command(id));
    }
    std::string requests;
};

// A loaded model of three subobjects.
class EditWindowTest : public DialogTest<RefreshingMainWindow> {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        view.model_loaded = 1;
        model.num_subobjects = 3;
    }
    // (Re)opens the Edit Window at tab and forgets the requests sent so far.
    void show_tab(uint32_t tab) {
        if (view.edit_window)
            run_command(CMD_EDIT_WINDOW);
        view.edit_tab = tab;
        run_command(CMD_EDIT_WINDOW);
        main.commands.clear();
        main.requests.clear();
    }
    FakeDialogWindow& frame() { return *host.windows.front(); }
    FakeDialogWindow& page() { return dynamic_cast<FakeDialogWindow&>(*view.edit_page_window); }
    FakeDialogControls& controls() { return page().controls; }
    void click(int id) { page().procedure->command(id, NOTIFY_CLICKED); }
    void type(int id, const std::string& typed, int notify = NOTIFY_LOST_FOCUS) {
        controls().set_text(id, typed);
        page().procedure->command(id, notify);
    }
    // Record i at (i, 10, 20) pointing along (30, 40, 50 + i) on subobject i.
    static void fill(uint32_t tab, uint32_t count) {
        PointTable t = point_table(tab);
        for (t.count = 0; t.count < count; ++t.count) {
            t.list.location[t.count] = {float(t.count), 10, 20};
            t.list.direction[t.count] = {30, 40, 50.0f + t.count};
            t.list.submodel[t.count] = t.count;
        }
    }
};

TEST_F(EditWindowTest, FrameOpensTheRememberedTabSwitchesPagesOneAtATimeAndCloses) {
    view.edit_tab = 4;
    FakeDialogWindow user_window(DIALOG_VIEW_SETTINGS, std::make_unique<PlainDialogProcedure>(0),
                                 nullptr);
    host.active = &user_window;
    run_command(CMD_EDIT_WINDOW);
    ASSERT_EQ(view.edit_window, &frame());
    EXPECT_EQ(host.active, &user_window) << "the activation goes back";
    EXPECT_EQ(main.requests, "r");

    host.log.clear();
    frame().controls.select_row(EW_TABS, 6);
    for (int twice = 0; twice < 2; ++twice) // the tab already shown: nothing happens
        frame().procedure->command(EW_TABS, NOTIFY_SELECTION_CHANGED);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"destroy 115", "open 118", "move 118", "activate dialog"}));

    // The frame's boxes: Show Location and Show All Points are never both on.
    main.requests.clear();
    std::string boxes; // the switches, then the boxes, as "location all"
    for (int id : {EW_SHOW_LOCATION, EW_SHOW_ALL_POINTS, EW_SHOW_LOCATION, EW_SHOW_LOCATION}) {
        frame().procedure->command(id, NOTIFY_CLICKED);
        const FakeDialogControls& c = frame().controls;
        boxes += std::to_string(view.show_location) + std::to_string(view.show_all_points) +
                 std::to_string(c.checked(EW_SHOW_LOCATION)) +
                 std::to_string(c.checked(EW_SHOW_ALL_POINTS)) + " ";
    }
    EXPECT_EQ(boxes, "1010 0101 1010 0000 ");
    EXPECT_EQ(main.requests, "rrrr");

    // The close box: the page goes first, then the main window's command closes the window.
    FakeDialogWindow* last_page = &page();
    frame().procedure->close();
    EXPECT_TRUE(last_page->destroyed && frame().destroyed);
    EXPECT_TRUE(view.edit_page_window == nullptr && view.edit_window == nullptr);
    EXPECT_EQ(main.commands.back(), CMD_EDIT_WINDOW);
    EXPECT_FALSE(menu_checked(CMD_EDIT_WINDOW));
}

TEST_F(EditWindowTest, PointAddAndDeleteKeepTheCurrentRecordInsideAndValueFieldsStoreConverted) {
    // Tab, count, current, button, then the number, count and fields shown and the requests.
    const std::tuple<int, uint32_t, uint32_t, int, const char*, const char*> cases[] = {
        {0, 0, 0, PT_ADD, "1 1 0.000000 1.000000 1 ", "s"},
        {1, 10, 3, PT_ADD, "4 10 3.000000 53.000000 4 ", ""},   // an 11th is ignored
        {2, 3, 1, PT_DELETE, "2 2 2.000000 52.000000 3 ", "s"}, // record 3 moves up
        {2, 3, 2, PT_DELETE, "2 2 1.000000 51.000000 2 ", "s"}, // the new last
        {3, 1, 0, PT_DELETE, " 0    ", "s"},                    // an empty page
    };
    for (auto [tab, count, current, button, fields, requests] : cases) {
        fill(tab, count);
        view.cur_point = current;
        show_tab(tab);
        click(button);
        EXPECT_EQ(controls().texts({PT_NUMBER, PT_COUNT, PT_LOC_X, PT_DIR_Z, PT_SUBMODEL}), fields);
        EXPECT_EQ(controls().enabled(PT_LOC_X), fields[0] != ' ') << fields;
        EXPECT_EQ(main.requests, requests);
    }

    // The value fields store the converted number and show it unrounded: a sign, exponent and
    // trailing text; 9 characters at most; beyond a float the largest; a subobject beyond the
    // count the last.
    fill(0, 2);
    view.cur_point = 1;
    show_tab(0);
    const std::pair<int, const char*> typed[] = {{PT_LOC_Z, " +.5e1xyz"},
                                                 {PT_DIR_X, "1234567890123"},
                                                 {PT_DIR_Z, "-1e39"},
                                                 {PT_SUBMODEL, "7"}};
    for (auto [id, text] : typed)
        type(id, text);
    EXPECT_EQ(controls().texts({PT_LOC_Z, PT_DIR_X, PT_DIR_Z, PT_SUBMODEL}),
              "5.000000 123456789.000000 -340282346638528859811704183484516925440.000000 3 ");
    const Vec3 &at = model.gun_points.location[1], &dir = model.gun_points.direction[1];
    EXPECT_EQ(std::make_tuple(at.z, dir.x, dir.z, model.gun_points.submodel[1]),
              std::make_tuple(5.0f, 123456792.0f, -3.40282347e38f, 2u));
    EXPECT_EQ(main.requests.substr(0, 3), "rrr");
    EXPECT_EQ(model.gun_points.location[0], (Vec3{0, 10, 20})) << "record 1 untouched";
}

TEST_F(EditWindowTest, SpecialPointsTakeTextsOnLeavingAndMoveUpOnDelete) {
    show_tab(4);
    for (int i = 0; i < 11; ++i) // the 11th is ignored
        click(SP_ADD);
    type(SP_NUMBER, "2");
    main.requests.clear();
    type(SP_NAME, "engine");
    type(SP_PROPS, std::string(43, 'p') + "\xC3\xA9"); // 44 bytes; no character cut in two
    EXPECT_EQ(std::string(model.special_points.properties[1]), std::string(43, 'p'));
    type(SP_RADIUS, "3");
    EXPECT_EQ(main.requests, "") << "names, properties and radius send nothing";
    type(SP_LOC_Y, "1e2");
    EXPECT_EQ(main.requests, "r");

    view.cur_special = 0;
    click(SP_DELETE);
    EXPECT_EQ(controls().texts({SP_NUMBER, SP_COUNT, SP_NAME, SP_LOC_Y, SP_RADIUS}),
              "1 9 engine 100.000000 3.000000 ");
    view.cur_special = 8;
    click(SP_DELETE);
    EXPECT_EQ(controls().texts({SP_NUMBER, SP_COUNT}), "8 8 ") << "the new last";
}

class BatteryPageTest : public EditWindowTest {
  protected:
    // Four gun points; twelve subobjects, each with a field of view but subobject 2.
    void SetUp() override {
        EditWindowTest::SetUp();
        model.num_gun_points = 4;
        model.num_subobjects = 12;
        std::fill_n(model.sobj_fov, 12, 1);
        model.sobj_fov[2] = 0;
    }
    void set_battery(uint32_t b, const List& guns, const List& turrets) {
        model.num_batteries = std::max(model.num_batteries, b + 1);
        model.batteries.num_guns[b] = static_cast<uint32_t>(guns.size());
        std::copy(guns.begin(), guns.end(), model.batteries.guns[b]);
        model.batteries.num_turrets[b] = static_cast<uint32_t>(turrets.size());
        std::copy(turrets.begin(), turrets.end(), model.batteries.turrets[b]);
    }
    // The guns and the turrets of battery b.
    static std::pair<List, List> lists(uint32_t b) {
        const WeaponBattery& w = model.batteries;
        return {{w.guns[b], w.guns[b] + w.num_guns[b]},
                {w.turrets[b], w.turrets[b] + w.num_turrets[b]}};
    }
    // "number count | gun boxes | turret boxes 1..12"; a box is '-' disabled, '.' enabled,
    // '*' checked, '#' checked and disabled.
    std::string battery_shown() {
        std::string s = controls().texts({WB_NUMBER, WB_COUNT}) + "| ";
        for (int id = GUN; id < TURRET + 12; ++id)
            s += std::string(id == TURRET ? " | " : "") +
                 "-.#*"[2 * controls().checked(id) + controls().enabled(id)];
        for (int id = TURRET + 12; id < TURRET + 30; ++id)
            EXPECT_FALSE(controls().enabled(id) || controls().checked(id)) << id;
        return s;
    }
};

TEST_F(BatteryPageTest, AddUpToTenDeleteMovingTheLaterOnesDownAndClicksRebuildListsInRisingOrder) {
    show_tab(5);
    click(WB_ADD);
    EXPECT_EQ(battery_shown(), "1 1 | ....------ | ..-.........");
    set_battery(0, {1}, {2});
    for (int i = 0; i < 10; ++i)
        click(WB_ADD);
    EXPECT_EQ(main.commands.size(), 10u) << "the eleventh sends nothing";
    EXPECT_EQ(battery_shown(), "1 10 | .*..------ | ..#.........");
    click(WB_PLUS);
    EXPECT_EQ(battery_shown(), "2 10 | ....------ | ..-.........");

    // Of four batteries, each with its own gun, the last and then the first are deleted: the
    // new last becomes current, the later ones move down.
    model.num_batteries = 0;
    for (uint32_t b = 0; b < 4; ++b)
        set_battery(b, {b}, b == 2 ? List{5, 6, 7} : List{});
    view.cur_battery = 3;
    show_tab(5);
    click(WB_DELETE);
    EXPECT_EQ(controls().texts({WB_NUMBER, WB_COUNT}), "3 3 ");
    view.cur_battery = 0;
    click(WB_DELETE);
    EXPECT_EQ(lists(0), std::pair(List{1}, List{}));
    EXPECT_EQ(lists(1), std::pair(List{2}, List{5, 6, 7}));
    click(WB_PLUS);
    click(WB_DELETE); // the last: the new last becomes current
    EXPECT_EQ(battery_shown(), "1 1 | .*..------ | ..-.........");
    EXPECT_EQ(main.requests, "ssss");

    // Member clicks rebuild the lists in rising order, ten at most, and send nothing.
    set_battery(0, {12, 1}, {2, 5}); // gun 12 beyond the boxes, subobject 2 without a field of view
    show_tab(5);
    for (int id : {GUN + 2, GUN + 0, TURRET + 3, TURRET + 0})
        click(id);
    EXPECT_EQ(lists(0), std::pair(List{0, 1, 2}, List{0, 2, 3, 5}));
    EXPECT_EQ(battery_shown(), "1 1 | ***.------ | *.#*.*......");
    set_battery(0, {}, {0, 1, 3, 4, 5, 6, 7, 8, 9, 10});
    show_tab(5);
    click(TURRET + 11);
    EXPECT_EQ(lists(0), std::pair(List{}, List{0, 1, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(main.commands.empty());
}

class SubmodelPageTest : public EditWindowTest {
  protected:
    // Three subobjects; the second a turret of the one battery.
    void SetUp() override {
        EditWindowTest::SetUp();
        std::strcpy(model.sobj_name[1], "gun");
        std::strcpy(model.sobj_props[1], "$fov=360.0,8.0,8.0");
        model.num_batteries = 1;
        prepare_model();
    }
};

TEST_F(SubmodelPageTest, StepsMoveTheHighlightSharedWithViewSettingsAndTextsTakeEffect) {
    run_command(CMD_VIEW_SETTINGS);
    FakeDialogControls& settings = host.windows.back()->controls;
    view.cur_sobj = 2;
    view.sobj_highlight[0] = 1;
    show_tab(6);
    click(SM_HIGHLIGHT);
    click(SM_PLUS); // from the last: stays
    EXPECT_EQ(view.cur_sobj, 2u);
    EXPECT_EQ(view.sobj_highlight[0] + 2 * view.sobj_highlight[2], 2);
    EXPECT_TRUE(settings.checked(VS_HIGHLIGHT_SOBJ) && controls().checked(SM_HIGHLIGHT));
    EXPECT_EQ(main.commands, (std::vector<int>{CMD_REFRESH, CMD_REFRESH}));
    click(SM_MINUS);
    EXPECT_EQ(controls().texts({SM_NUMBER, SM_COUNT, SM_NAME, SM_PROPS}),
              "2 3 gun $fov=360.0,8.0,8.0 ");

    main.commands.clear();
    type(SM_NAME, std::string(50, 'n'));
    EXPECT_EQ(std::string(model.sobj_name[1]), std::string(44, 'n'));
    EXPECT_TRUE(main.commands.empty()) << "a name sends nothing";
    view.rotate_on = 1;
    type(SM_PROPS, "$rotate=5");
    timer_tick();
    EXPECT_EQ(view.spin_angle[1], 3.0f) << "18 / 5 degrees, kept to whole degrees";
    EXPECT_EQ(main.commands, std::vector<int>{CMD_REFRESH});
    show_tab(5);
    EXPECT_FALSE(controls().enabled(TURRET + 1)) << "no longer a turret";
}

} // namespace
