// The point-list and special-point pages on fake controls inside the Edit Window; the main window
// answers their requests through the real Refresh, which refreshes the shown page.
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/test_globals.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/point_page.h"

namespace {

class RefreshingMainWindow : public FakeMainWindow {
  public:
    void command(int id) override {
        requests += view.selection_changed ? 's' : 'r'; // selection or redraw
        notify_dialogs(run_command(id));
    }
    std::string requests;
};

class PointPagesTest : public DialogTest<RefreshingMainWindow> {
  protected:
    void SetUp() override {
        DialogTest<RefreshingMainWindow>::SetUp();
        view.model_loaded = 1;
        model.num_subobjects = 3;
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
    void type(int id, const std::string& typed, int notify = NOTIFY_LOST_FOCUS) {
        page().controls.set_text(id, typed);
        page().procedure->command(id, notify);
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
        EXPECT_EQ(page().controls.enabled(PT_LOC_X), c.want_count != 0);
        EXPECT_EQ(main.requests, c.requests);
    }
}

TEST_F(PointPagesTest, TheSharedIndexIsKeptWhereValidAcrossTheFourTabs) {
    fill(0, 5);
    fill(1, 6);
    fill(3, 2);
    view.cur_point = 4;
    const std::pair<int, const char*> steps[] = {{0, "5"}, {1, "5"}, {3, "1"}, {0, "1"}, {2, ""}};
    for (auto [tab, number] : steps) {
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

} // namespace
