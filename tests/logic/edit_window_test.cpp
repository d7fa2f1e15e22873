// The Edit Window frame and its pages on fakes; the main window carries out the pages'
// requests through the real Refresh, which refreshes the shown page.
#include <cstring>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/number_field.h"
#include "ui/plain_dialog.h"
#include "ui/point_page.h"
#include "ui/view_input.h"

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

class EditWindowTest : public DialogTest<RefreshingMainWindow> {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        view.model_loaded = 1;
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
    std::string text(int id) { return controls().text(id, 100); }
    void click(int id) { page().procedure->command(id, NOTIFY_CLICKED); }
    void type(int id, const std::string& typed, int notify = NOTIFY_LOST_FOCUS) {
        controls().set_text(id, typed);
        page().procedure->command(id, notify);
    }
    void choose_tab(int row) {
        frame().controls.select_row(EW_TABS, row);
        frame().procedure->command(EW_TABS, NOTIFY_SELECTION_CHANGED);
    }
};

TEST_F(EditWindowTest, OpensTheRememberedTabAndSwitchesPagesOneAtATime) {
    view.edit_tab = 4;
    FakeDialogWindow user_window(DIALOG_VIEW_SETTINGS, std::make_unique<PlainDialogProcedure>(0),
                                 nullptr);
    host.active = &user_window;
    run_command(CMD_EDIT_WINDOW);
    ASSERT_EQ(view.edit_window, &frame());
    EXPECT_EQ(frame().controls.control(EW_TABS).rows,
              (std::vector<std::string>{"GPNT", "GRND", "ATCH", "NATH", "SPCL", "WBAT", "SOBJ"}));
    EXPECT_EQ(frame().controls.selected_row(EW_TABS), 4);
    EXPECT_EQ(page().template_id, DIALOG_SPECIAL_PAGE);
    EXPECT_EQ(page().parent, &frame());
    EXPECT_EQ(std::make_pair(page().x, page().y), std::make_pair(20, 40));
    EXPECT_EQ(host.active, &user_window) << "the activation goes back";
    EXPECT_EQ(main.requests, "r");

    FakeDialogWindow* old_page = &page();
    host.log.clear();
    choose_tab(6);
    choose_tab(6); // the tab already shown: nothing happens
    EXPECT_TRUE(old_page->destroyed);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"destroy 115", "open 118", "move 118", "activate dialog"}));
    EXPECT_EQ(view.edit_tab, 6u);
    EXPECT_EQ(frame().controls.row_count(EW_TABS), 7) << "tabs inserted once";

    // The close box: the page goes first, then the main window's command closes the window.
    FakeDialogWindow* shown = &page();
    frame().procedure->close();
    EXPECT_TRUE(shown->destroyed && frame().destroyed);
    EXPECT_TRUE(view.edit_page_window == nullptr && view.edit_window == nullptr);
    EXPECT_EQ(main.commands.back(), CMD_EDIT_WINDOW);
    EXPECT_FALSE(menu_checked(CMD_EDIT_WINDOW));
}

TEST_F(EditWindowTest, ShowLocationAndShowAllPointsAreNeverBothOn) {
    show_tab(0);
    struct Step {
        int click;
        int location, all;
    } steps[] = {{EW_SHOW_LOCATION, 1, 0}, {EW_SHOW_ALL_POINTS, 0, 1}, {EW_SHOW_LOCATION, 1, 0},
                 {EW_SHOW_LOCATION, 0, 0}, {EW_SHOW_ALL_POINTS, 0, 1}, {EW_SHOW_ALL_POINTS, 0, 0}};
    for (const Step& s : steps) {
        main.requests.clear();
        frame().procedure->command(s.click, NOTIFY_CLICKED);
        EXPECT_EQ(std::make_pair(view.show_location, view.show_all_points),
                  std::make_pair(s.location, s.all));
        EXPECT_EQ(frame().controls.checked(EW_SHOW_LOCATION), s.location == 1);
        EXPECT_EQ(frame().controls.checked(EW_SHOW_ALL_POINTS), s.all == 1);
        EXPECT_EQ(main.requests, "r");
    }
}

TEST_F(EditWindowTest, NumberFieldsStepFromTheTypedNumberClampAndNeverWrap) {
    constexpr NumberField field{PT_NUMBER, PT_PLUS, PT_MINUS};
    struct Case {
        const char* typed;
        int id, notify;
        uint32_t count, index;
        int64_t chosen; // -1: nothing chosen
        const char* shown;
    } cases[] = {
        {"5", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 0, 4, "5"},
        {"5", PT_NUMBER, NOTIFY_CLICKED, 9, 0, -1, "5"}, // typing alone does nothing
        {"007", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 6, -1, "7"},
        {"9", PT_PLUS, NOTIFY_CLICKED, 12, 3, 9, "9"},
        {"9", PT_PLUS, NOTIFY_CLICKED, 9, 3, 8, "9"},  // above the count: the count
        {"9", PT_PLUS, NOTIFY_CLICKED, 9, 8, 8, "9"},  // "+" at the last still chooses it
        {"1", PT_MINUS, NOTIFY_CLICKED, 9, 0, 0, "1"}, // "-" at 1 still chooses 1
        {"0", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 4, 0, "0"},
        {"-3", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 0, 8, "-3"}, // negative: the count
        {"abc", PT_NUMBER, NOTIFY_LOST_FOCUS, 9, 4, 0, "abc"},
        {"5", PT_NUMBER, NOTIFY_LOST_FOCUS, 0, 0, -1, "5"}, // empty list
        {"1234567890", PT_NUMBER, NOTIFY_LOST_FOCUS, 4000000000u, 0, 123456788, "1234567890"},
        {"3", PT_ADD, NOTIFY_CLICKED, 9, 0, -1, "3"},
    };
    FakeDialogControls c(*find_dialog_template(DIALOG_POINT_PAGE));
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.typed) + " id " + std::to_string(k.id));
        c.set_text(PT_NUMBER, k.typed);
        std::optional<uint32_t> got = choose_record(c, field, k.id, k.notify, k.count, k.index);
        EXPECT_EQ(got ? int64_t(*got) : -1, k.chosen);
        EXPECT_EQ(c.text(PT_NUMBER, 20), k.shown);
    }
}

class PointPagesTest : public EditWindowTest {
  protected:
    void SetUp() override {
        EditWindowTest::SetUp();
        model.num_subobjects = 3;
    }
    // Record i at (i, 10 + i, 20 + i) pointing along (30 + i, 40 + i, 50 + i) on subobject i.
    static void fill(uint32_t tab, uint32_t count) {
        PointTable t = point_table(tab);
        for (t.count = 0; t.count < count; ++t.count) {
            float f = static_cast<float>(t.count);
            t.list.location[t.count] = {f, 10 + f, 20 + f};
            t.list.direction[t.count] = {30 + f, 40 + f, 50 + f};
            t.list.submodel[t.count] = t.count;
        }
    }
};

TEST_F(PointPagesTest, AddAndDeleteKeepTheCurrentRecordInsideTheTable) {
    struct Case {
        int tab;
        uint32_t count, current;
        int button;
        uint32_t want_count, want_current;
        const char *number, *x, *dir_z, *submodel, *requests; // shown afterwards, requests sent
    } cases[] = {
        {0, 0, 0, PT_ADD, 1, 0, "1", "0.000000", "1.000000", "1", "s"},   // record 1 of 1
        {1, 10, 3, PT_ADD, 10, 3, "4", "3.000000", "53.000000", "4", ""}, // an 11th is ignored
        {1, 3, 1, PT_ADD, 4, 1, "2", "1.000000", "51.000000", "2", "s"},
        {2, 3, 1, PT_DELETE, 2, 1, "2", "2.000000", "52.000000", "3", "s"}, // record 3 moves up
        {2, 3, 2, PT_DELETE, 2, 1, "2", "1.000000", "51.000000", "2", "s"}, // the new last
        {3, 1, 0, PT_DELETE, 0, 0, "", "", "", "", "s"},                    // an empty page
        {3, 0, 0, PT_DELETE, 0, 0, "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tab) + ": " + std::to_string(c.count));
        fill(c.tab, c.count);
        view.cur_point = c.current;
        show_tab(c.tab);
        click(c.button);
        EXPECT_EQ(point_table(c.tab).count, c.want_count);
        EXPECT_EQ(view.cur_point, c.want_current);
        EXPECT_EQ(text(PT_COUNT), std::to_string(c.want_count));
        for (auto [id, want] : {std::pair{PT_NUMBER, c.number},
                                {PT_LOC_X, c.x},
                                {PT_DIR_Z, c.dir_z},
                                {PT_SUBMODEL, c.submodel}})
            EXPECT_EQ(text(id), want) << id;
        EXPECT_EQ(controls().enabled(PT_LOC_X), c.want_count != 0);
        EXPECT_EQ(main.requests, c.requests);
    }
    // The current index is shared by the four tabs and kept where it is valid.
    fill(0, 5);
    fill(1, 6);
    fill(2, 0);
    fill(3, 2);
    view.cur_point = 4;
    for (auto [tab, number] : {std::pair{0, "5"}, {1, "5"}, {3, "1"}, {0, "1"}, {2, ""}}) {
        show_tab(tab);
        EXPECT_EQ(text(PT_NUMBER), number) << tab;
    }
}

TEST_F(PointPagesTest, ValueFieldsStoreTheConvertedNumberAndShowItUnrounded) {
    fill(0, 2);
    view.cur_point = 1;
    show_tab(0);
    Vec3 &at = model.gun_points.location[1], &dir = model.gun_points.direction[1];
    struct Case {
        int id;
        const char* typed;
        float* stored;
        float want;
        const char* shown;
    } cases[] = {
        {PT_LOC_X, "1e2", &at.x, 100, "100.000000"},
        {PT_LOC_Y, "abc", &at.y, 0, "0.000000"},
        {PT_LOC_Z, " +.5e1xyz", &at.z, 5, "5.000000"},
        {PT_DIR_X, "1234567890123", &dir.x, 123456792.0f, "123456789.000000"}, // 9 characters
        {PT_DIR_Y, "0x10", &dir.y, 0, "0.000000"}, // decimal only, in any locale
        {PT_DIR_Z, "-1e39", &dir.z, -3.40282347e38f,
         "-340282346638528859811704183484516925440.000000"},
    };
    for (const Case& c : cases) {
        main.requests.clear();
        type(c.id, c.typed);
        EXPECT_EQ(*c.stored, c.want) << c.typed;
        EXPECT_EQ(text(c.id), c.shown) << c.typed;
        EXPECT_EQ(main.requests, "r") << c.typed;
    }
    type(PT_LOC_X, "7", NOTIFY_CLICKED);
    EXPECT_EQ(at.x, 100.0f) << "typing alone stores nothing";
    EXPECT_EQ(model.gun_points.location[0], (Vec3{0, 10, 20})) << "record 1 untouched";

    const std::tuple<uint32_t, const char*, uint32_t> submodels[] = {
        {3, "2", 1}, {3, "7", 2}, {3, "0", 2}, {3, "-1", 2}, {0, "5", 0}};
    for (auto [subobjects, typed, stored] : submodels) {
        model.num_subobjects = subobjects;
        type(PT_SUBMODEL, typed);
        EXPECT_EQ(model.gun_points.submodel[1], stored) << typed;
        EXPECT_EQ(text(PT_SUBMODEL), std::to_string(stored + 1)) << typed;
    }
}

TEST_F(PointPagesTest, SpecialPointsTakeTextsOnLeavingAndMoveUpOnDelete) {
    show_tab(4);
    for (int i = 0; i < 11; ++i)
        click(SP_ADD);
    EXPECT_EQ(model.num_special_points, 10u) << "the 11th point is ignored";
    type(SP_NUMBER, "2");
    main.requests.clear();
    type(SP_NAME, "engine", NOTIFY_CLICKED);
    EXPECT_STREQ(model.special_points.name[1], "") << "nothing stored while typing";
    type(SP_NAME, "engine");
    EXPECT_STREQ(model.special_points.name[1], "engine");
    type(SP_PROPS, std::string(43, 'p') + "\xC3\xA9"); // 44 bytes; no character cut in two
    EXPECT_EQ(std::string(model.special_points.properties[1]), std::string(43, 'p'));
    type(SP_RADIUS, "3");
    EXPECT_EQ(main.requests, "") << "names, properties and radius send nothing";
    type(SP_LOC_Y, "1e2");
    EXPECT_EQ(main.requests, "r");

    view.cur_special = 0;
    click(SP_DELETE);
    for (auto [id, want] : {std::pair{SP_NUMBER, "1"},
                            {SP_COUNT, "9"},
                            {SP_NAME, "engine"},
                            {SP_LOC_Y, "100.000000"},
                            {SP_RADIUS, "3.000000"}})
        EXPECT_EQ(text(id), want) << id;
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
    // "guns / turrets" of battery b, such as "0 2 / 1 3".
    std::string lists(uint32_t b) {
        const WeaponBattery& w = model.batteries;
        std::string s;
        for (uint32_t i = 0; i < w.num_guns[b]; ++i)
            s += std::to_string(w.guns[b][i]) + " ";
        s += "/";
        for (uint32_t i = 0; i < w.num_turrets[b]; ++i)
            s += " " + std::to_string(w.turrets[b][i]);
        return s;
    }
    // "number of count | gun boxes | turret boxes 1..12"; a box is '-' disabled, '.' enabled,
    // '*' checked, '#' checked and disabled.
    std::string battery_shown() {
        std::string s = text(WB_NUMBER) + " of " + text(WB_COUNT) + " |";
        for (int id = GUN; id < TURRET + 12; ++id)
            s += std::string(id == TURRET ? " | "
                             : id == GUN  ? " "
                                          : "") +
                 "-.#*"[2 * controls().checked(id) + controls().enabled(id)];
        for (int id = TURRET + 12; id < TURRET + 30; ++id)
            EXPECT_FALSE(controls().enabled(id) || controls().checked(id)) << id;
        return s;
    }
};

TEST_F(BatteryPageTest, AddBatteryShowsTheNewEmptyBatteryUpToTen) {
    view.model_loaded = 0;
    show_tab(5);
    click(WB_ADD);
    EXPECT_EQ(battery_shown(), " of 0 | ---------- | ------------");
    view.model_loaded = 1;
    click(WB_ADD);
    EXPECT_EQ(battery_shown(), "1 of 1 | ....------ | ..-.........");
    set_battery(0, {1}, {2});
    for (int i = 0; i < 10; ++i)
        click(WB_ADD);
    EXPECT_EQ(main.commands.size(), 10u) << "the eleventh sends nothing";
    EXPECT_EQ(battery_shown(), "1 of 10 | .*..------ | ..#.........");
    click(WB_PLUS);
    EXPECT_EQ(battery_shown(), "2 of 10 | ....------ | ..-.........");
}

TEST_F(BatteryPageTest, MemberClicksRebuildTheListInRisingOrder) {
    struct Case {
        List guns, turrets;
        std::vector<int> clicks;
        const char* want;
    } cases[] = {
        {{}, {}, {GUN + 2, GUN + 0}, "0 2 /"},
        {{12, 1}, {}, {GUN + 0}, "0 1 /"}, // beyond the boxes: drops out
        {{}, {5, 1}, {TURRET + 3}, "/ 1 3 5"},
        {{}, {2, 0}, {TURRET + 0}, "/ 2"}, // without a field of view: stays
        {{}, {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}, {TURRET + 11}, "/ 0 1 3 4 5 6 7 8 9 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        set_battery(0, c.guns, c.turrets);
        show_tab(5);
        for (int id : c.clicks)
            click(id);
        EXPECT_EQ(lists(0), c.want);
        std::string clicked = battery_shown();
        show_tab(5);
        EXPECT_EQ(clicked, battery_shown()) << "the boxes show the stored lists";
        EXPECT_TRUE(main.commands.empty());
    }
}

TEST_F(BatteryPageTest, DeleteMovesTheLaterBatteriesDown) {
    struct Case {
        uint32_t count, current;
        std::vector<const char*> left;
        const char* shown;
    } cases[] = {
        {3, 0, {"1 / 4", "2 / 5 6 7"}, "1 of 2"},
        {3, 1, {"0 /", "2 / 5 6 7"}, "2 of 2"},
        {3, 2, {"0 /", "1 / 4"}, "2 of 2"},
        {1, 0, {}, " of 0"},
        {0, 0, {}, " of 0"},
    };
    const List turret_lists[] = {{}, {4}, {5, 6, 7}}; // battery b also has gun b
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.current + 1) + " of " + std::to_string(c.count));
        model.num_batteries = 0;
        for (uint32_t b = 0; b < c.count; ++b)
            set_battery(b, {b}, turret_lists[b]);
        view.cur_battery = c.current;
        show_tab(5);
        click(WB_DELETE);
        ASSERT_EQ(model.num_batteries, c.left.size());
        for (uint32_t b = 0; b < c.left.size(); ++b)
            EXPECT_EQ(lists(b), c.left[b]);
        EXPECT_EQ(battery_shown().substr(0, std::strlen(c.shown) + 2), c.shown + std::string(" |"));
        EXPECT_EQ(main.commands.size(), c.count == 0 ? 0u : 1u);
    }
}

class SubmodelPageTest : public EditWindowTest {
  protected:
    // Three subobjects; the second a turret of the one battery.
    void SetUp() override {
        EditWindowTest::SetUp();
        model.num_subobjects = 3;
        std::strcpy(model.sobj_name[1], "gun");
        std::strcpy(model.sobj_props[1], "$fov=360.0,8.0,8.0");
        model.num_batteries = 1;
        prepare_model();
    }
    std::string shown() {
        return text(SM_NUMBER) + " of " + text(SM_COUNT) + ": " + text(SM_NAME) + " / " +
               text(SM_PROPS) + (controls().enabled(SM_PROPS) ? "" : " (disabled)");
    }
};

TEST_F(SubmodelPageTest, WithoutSubobjectsEditsAndStepsAreIgnored) {
    view.model_loaded = 0;
    show_tab(6);
    EXPECT_EQ(shown(), " of 0:  /  (disabled)");
    clear_model();
    view.model_loaded = 1;
    show_tab(6);
    EXPECT_EQ(shown(), "1 of 0:  / ");
    type(SM_NAME, "hull");
    type(SM_PROPS, "$rotate=5");
    click(SM_PLUS);
    EXPECT_EQ(model.sobj_name[0][0] + model.sobj_props[0][0] + model.any_rotate, 0);
    EXPECT_TRUE(main.commands.empty());
}

TEST_F(SubmodelPageTest, PlusFromTheLastMovesTheHighlightSharedWithViewSettings) {
    run_command(CMD_VIEW_SETTINGS);
    FakeDialogControls& settings = host.windows.back()->controls;
    view.cur_sobj = 2;
    view.sobj_highlight[0] = 1;
    show_tab(6);
    click(SM_HIGHLIGHT);
    EXPECT_FALSE(settings.checked(VS_HIGHLIGHT_SOBJ)) << "brought up to date at its next refresh";
    click(SM_PLUS);
    EXPECT_EQ(view.cur_sobj, 2u);
    EXPECT_EQ(view.sobj_highlight[0] + 2 * view.sobj_highlight[2], 2);
    EXPECT_TRUE(settings.checked(VS_HIGHLIGHT_SOBJ) && controls().checked(SM_HIGHLIGHT));
    EXPECT_EQ(main.commands, (std::vector<int>{CMD_REFRESH, CMD_REFRESH}));
    click(SM_MINUS);
    EXPECT_EQ(shown(), "2 of 3: gun / $fov=360.0,8.0,8.0");
}

TEST_F(SubmodelPageTest, TextsAreCutAndPropertiesTakeEffectAtOnce) {
    view.rotate_on = 1;
    view.cur_sobj = 1;
    show_tab(6);
    type(SM_NAME, std::string(50, 'n'));
    EXPECT_EQ(std::string(model.sobj_name[1]), std::string(44, 'n'));
    EXPECT_TRUE(main.commands.empty()) << "a name sends nothing";
    type(SM_PROPS, "$rotate=5");
    timer_tick();
    EXPECT_EQ(view.spin_angle[1], 3.0f) << "18 / 5 degrees, kept to whole degrees";
    EXPECT_EQ(main.commands, std::vector<int>{CMD_REFRESH});
    show_tab(5);
    EXPECT_FALSE(controls().enabled(TURRET + 1)) << "no longer a turret";
}

} // namespace
