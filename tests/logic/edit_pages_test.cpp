// The "WBAT" and "SOBJ" pages of the Edit Window on fake controls, with a main window that
// carries out their requests as the real one does (Refresh, then the dialog refreshes).
#include <cstring>

#include "formats/model_properties.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/test_globals.h"
#include "ui/battery_page.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/view_input.h"

namespace {

constexpr int GUN = WB_FIRST_GUN, TURRET = WB_FIRST_TURRET;
using List = std::vector<uint32_t>;

class RefreshingMainWindow : public FakeMainWindow {
  public:
    void command(int id) override {
        FakeMainWindow::command(id);
        notify_dialogs(run_command(id));
    }
};

class EditPagesTest : public DialogTest<RefreshingMainWindow> {
  protected:
    void SetUp() override {
        DialogTest<RefreshingMainWindow>::SetUp();
        view.model_loaded = 1;
    }
    // (Re)opens the Edit Window at tab and forgets the requests sent so far.
    void show_tab(uint32_t tab) {
        if (view.edit_window)
            run_command(CMD_EDIT_WINDOW);
        view.edit_tab = tab;
        run_command(CMD_EDIT_WINDOW);
        main.commands.clear();
    }
    FakeDialogControls& controls() { return host.windows.back()->controls; }
    std::string text(int id) { return controls().text(id, 100); }
    void click(int id) { host.windows.back()->procedure->command(id, NOTIFY_CLICKED); }
    void type(int id, const std::string& typed) {
        controls().set_text(id, typed);
        host.windows.back()->procedure->command(id, NOTIFY_LOST_FOCUS);
    }

    // Four gun points; twelve subobjects, each with a field of view but subobject 2.
    void battery_model() {
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

TEST_F(EditPagesTest, AddBatteryShowsTheNewEmptyBatteryUpToTen) {
    battery_model();
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

TEST_F(EditPagesTest, MemberClicksRebuildTheListInRisingOrder) {
    battery_model();
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

TEST_F(EditPagesTest, DeleteMovesTheLaterBatteriesDown) {
    battery_model();
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

class SubmodelPageTest : public EditPagesTest {
  protected:
    // Three subobjects; the second a turret of the one battery.
    void SetUp() override {
        EditPagesTest::SetUp();
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
