// The point-list and special-point pages on fake controls inside the Edit Window, with a main
// window that answers their requests as the real one does.
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/test_globals.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/point_page.h"

namespace {

// Runs the Refresh request and refreshes the dialogs, logging which request it was.
class RefreshingMainWindow : public FakeMainWindow {
  public:
    void command(int id) override {
        requests.push_back(view.selection_changed ? "selection" : "redraw");
        notify_dialogs(run_command(id));
    }
    std::vector<std::string> requests;
};

class PointPagesTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        install_dialog_host(&host);
        view.main_window = &main;
        view.model_loaded = 1;
        model.num_subobjects = 3;
    }
    void TearDown() override {
        install_dialog_host(nullptr);
        CoreTest::TearDown();
    }
    void show_tab(int tab) {
        if (!view.edit_window_open)
            run_command(CMD_EDIT_WINDOW);
        FakeDialogWindow& frame = *host.windows.front();
        frame.controls.select_row(EW_TABS, tab);
        frame.procedure->command(EW_TABS, NOTIFY_SELECTION_CHANGED);
        page().init(0);
        main.requests.clear();
    }
    FakeDialogWindow& page() { return dynamic_cast<FakeDialogWindow&>(*view.edit_page_window); }
    std::string text(int id) { return page().controls.text(id, 100); }
    void click(int id) { page().procedure->command(id, NOTIFY_CLICKED); }
    void type(int id, const std::string& typed) {
        page().controls.set_text(id, typed);
        page().procedure->command(id, NOTIFY_LOST_FOCUS);
    }
    // Record i at (i, 10 + i, 20 + i) pointing along (30 + i, 40 + i, 50 + i) on subobject i.
    static void fill(uint32_t tab, uint32_t count) {
        PointTable t = point_table(tab);
        t.count = count;
        for (uint32_t i = 0; i < count; ++i) {
            float f = static_cast<float>(i);
            t.list.location[i] = {f, 10 + f, 20 + f};
            t.list.direction[i] = {30 + f, 40 + f, 50 + f};
            t.list.submodel[i] = i;
        }
    }

    FakeDialogHost host;
    RefreshingMainWindow main;
};

TEST_F(PointPagesTest, AddingToAnEmptyTableOfEachTabShowsRecordOneAndStopsAtTen) {
    for (uint32_t tab = 0; tab < POINT_TABLE_TABS; ++tab) {
        SCOPED_TRACE(tab);
        view.cur_point = 0;
        show_tab(static_cast<int>(tab));
        EXPECT_EQ(text(PT_COUNT), "0");
        for (int id : {PT_NUMBER, PT_LOC_X, PT_DIR_Z, PT_SUBMODEL})
            EXPECT_TRUE(text(id).empty() && !page().controls.enabled(id)) << id;
        click(PT_ADD);
        PointTable t = point_table(tab);
        ASSERT_EQ(t.count, 1u);
        EXPECT_EQ(t.list.location[0], (Vec3{0, 0, 0}));
        EXPECT_EQ(t.list.direction[0], (Vec3{0, 0, 1}));
        EXPECT_EQ(t.list.submodel[0], 0u);
        EXPECT_EQ(main.requests, std::vector<std::string>{"selection"});
        for (auto [id, want] : {std::pair{PT_NUMBER, "1"},
                                {PT_COUNT, "1"},
                                {PT_DIR_Z, "1.000000"},
                                {PT_SUBMODEL, "1"}})
            EXPECT_EQ(text(id), want) << id;
        EXPECT_TRUE(page().controls.enabled(PT_SUBMODEL));
        click(PT_ADD);
        click(PT_PLUS);
        for (int i = 0; i < 9; ++i)
            click(PT_ADD);
        EXPECT_EQ(t.count, 10u) << "the 11th point is ignored";
        EXPECT_EQ(text(PT_NUMBER), "2") << "adding leaves the current record";
    }
    EXPECT_EQ(model.num_gun_points + model.num_nath_points, 20u) << "each tab its own table";
}

TEST_F(PointPagesTest, DeletingMovesLaterRecordsDownAndKeepsTheIndexInside) {
    struct Case {
        uint32_t count, current, want_current;
        const char *number, *x;              // shown afterwards
    } cases[] = {{3, 1, 1, "2", "2.000000"}, // record 3 takes place 2
                 {3, 2, 1, "2", "1.000000"}, // the last deleted: the new last
                 {1, 0, 0, "", ""},          // the only one: an empty page
                 {0, 0, 0, "", ""}};         // nothing to delete
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + "/" + std::to_string(c.current));
        fill(2, c.count);
        view.cur_point = c.current;
        show_tab(2);
        click(PT_DELETE);
        EXPECT_EQ(model.num_attach_points, c.count ? c.count - 1 : 0);
        EXPECT_EQ(view.cur_point, c.want_current);
        EXPECT_EQ(text(PT_NUMBER), c.number);
        EXPECT_EQ(text(PT_LOC_X), c.x);
        EXPECT_EQ(main.requests.size(), c.count ? 1u : 0u);
    }
    fill(2, 3);
    view.cur_point = 1;
    click(PT_DELETE);
    EXPECT_EQ(model.attach_points.direction[1], (Vec3{32, 42, 52}));
    EXPECT_EQ(model.attach_points.submodel[1], 2u);
}

TEST_F(PointPagesTest, TheSharedIndexIsKeptWhereValidAcrossTheFourTabs) {
    fill(0, 5);
    fill(1, 6);
    fill(3, 2);
    view.cur_point = 4;
    struct Step {
        int tab;
        const char *number, *y;
    } steps[] = {{0, "5", "14.000000"},
                 {1, "5", "14.000000"},
                 {3, "1", "10.000000"},
                 {0, "1", "10.000000"},
                 {2, "", ""}};
    for (const Step& s : steps) {
        show_tab(s.tab);
        EXPECT_EQ(text(PT_NUMBER), s.number) << s.tab;
        EXPECT_EQ(text(PT_LOC_Y), s.y) << s.tab;
    }
}

TEST_F(PointPagesTest, ValueFieldsStoreTheConvertedNumberAndShowItUnrounded) {
    fill(0, 2);
    view.cur_point = 1;
    show_tab(0);
    struct Case {
        int id;
        const char* typed;
        float stored;
        const char* shown;
    } cases[] = {
        {PT_LOC_X, "1e2", 100, "100.000000"},
        {PT_LOC_Y, "abc", 0, "0.000000"},
        {PT_LOC_Z, " +.5e1xyz", 5, "5.000000"},
        {PT_DIR_X, "1234567890123", 123456792.0f, "123456789.000000"}, // 9 characters read
        {PT_DIR_Y, "16777217", 16777216, "16777217.000000"},
        {PT_DIR_Z, "0x10", 0, "0.000000"}, // decimal only, in any locale
        {PT_LOC_X, "-1e39", -3.40282347e38f, "-340282346638528859811704183484516925440.000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        main.requests.clear();
        type(c.id, c.typed);
        int n = c.id - PT_LOC_X;
        Vec3 v = n < 3 ? model.gun_points.location[1] : model.gun_points.direction[1];
        EXPECT_EQ(n % 3 == 0 ? v.x : n % 3 == 1 ? v.y : v.z, c.stored);
        EXPECT_EQ(text(c.id), c.shown);
        EXPECT_EQ(main.requests, std::vector<std::string>{"redraw"});
    }
    EXPECT_EQ(model.gun_points.location[0], (Vec3{0, 10, 20})) << "record 1 untouched";

    struct Submodel {
        uint32_t subobjects;
        const char* typed;
        uint32_t stored;
    } submodels[] = {{3, "2", 1}, {3, "7", 2}, {3, "0", 2}, {3, "-1", 2}, {0, "5", 0}};
    for (const Submodel& s : submodels) {
        model.num_subobjects = s.subobjects;
        type(PT_SUBMODEL, s.typed);
        EXPECT_EQ(model.gun_points.submodel[1], s.stored) << s.typed;
        EXPECT_EQ(text(PT_SUBMODEL), std::to_string(s.stored + 1)) << s.typed;
    }
}

TEST_F(PointPagesTest, SpecialPointsTakeTextsOnLeavingAndMoveDownOnDelete) {
    show_tab(4);
    EXPECT_FALSE(page().controls.enabled(SP_NAME));
    for (int i = 0; i < 11; ++i)
        click(SP_ADD);
    EXPECT_EQ(model.num_special_points, 10u) << "the 11th point is ignored";
    EXPECT_EQ(text(SP_RADIUS), "0.000000");
    click(SP_PLUS);
    main.requests.clear();
    page().controls.set_text(SP_NAME, "engine");
    EXPECT_STREQ(model.special_points.name[1], "") << "nothing stored while typing";
    page().procedure->command(SP_NAME, NOTIFY_LOST_FOCUS);
    EXPECT_STREQ(model.special_points.name[1], "engine");
    type(SP_PROPS, std::string(43, 'p') + "\xC3\xA9"); // 44 bytes, no character cut in two
    EXPECT_EQ(std::string(model.special_points.properties[1]), std::string(43, 'p'));
    type(SP_RADIUS, "3");
    EXPECT_TRUE(main.requests.empty()) << "names, properties and radius send nothing";
    type(SP_LOC_Y, "1e2");
    EXPECT_EQ(main.requests, std::vector<std::string>{"redraw"});

    view.cur_special = 0;
    click(SP_DELETE);
    for (auto [id, want] : {std::pair{SP_NUMBER, "1"},
                            {SP_COUNT, "9"},
                            {SP_NAME, "engine"},
                            {SP_LOC_Y, "100.000000"},
                            {SP_RADIUS, "3.000000"}})
        EXPECT_EQ(text(id), want) << id;
}

} // namespace
