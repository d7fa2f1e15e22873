// The Edit Window frame on fakes: tabs once, one page at a time at (20, 40), the activation
// given back, the two switches excluding each other, and closing page first.
#include "state/view_state.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/test_globals.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/plain_dialog.h"

namespace {

class EditWindowTest : public DialogTest<> {
  protected:
    FakeDialogWindow& frame() { return *host.windows.front(); }
    FakeDialogWindow& page() { return dynamic_cast<FakeDialogWindow&>(*view.edit_page_window); }
    void click(int id) { frame().procedure->command(id, NOTIFY_CLICKED); }
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
    ASSERT_EQ(view.edit_window, host.windows.front().get());
    FakeDialogControls::Control tabs = frame().controls.control(EW_TABS);
    EXPECT_EQ(tabs.rows,
              (std::vector<std::string>{"GPNT", "GRND", "ATCH", "NATH", "SPCL", "WBAT", "SOBJ"}));
    EXPECT_EQ(tabs.selected, 4);
    EXPECT_EQ(page().template_id, DIALOG_SPECIAL_PAGE);
    EXPECT_EQ(page().parent, &frame());
    EXPECT_EQ(std::make_pair(page().x, page().y), std::make_pair(20, 40));
    EXPECT_EQ(host.active, &user_window) << "the activation goes back";
    EXPECT_EQ(main.commands, std::vector<int>{CMD_REFRESH});
    EXPECT_EQ(view.refresh_only, 1);

    FakeDialogWindow* old_page = &page();
    host.log.clear();
    choose_tab(6);
    EXPECT_TRUE(old_page->destroyed);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"destroy 115", "open 118", "move 118", "activate dialog"}));
    EXPECT_EQ(view.edit_tab, 6u);
    EXPECT_EQ(frame().controls.control(EW_TABS).rows.size(), 7u) << "tabs inserted once";

    host.log.clear();
    choose_tab(6); // the tab already shown
    EXPECT_TRUE(host.log.empty());

    // The close box: the page goes first, then the main window's command closes the window.
    FakeDialogWindow* shown = &page();
    frame().procedure->close();
    EXPECT_TRUE(shown->destroyed);
    EXPECT_EQ(view.edit_page_window, nullptr);
    EXPECT_EQ(main.commands.back(), CMD_EDIT_WINDOW);
}

TEST_F(EditWindowTest, ShowLocationAndShowAllPointsAreNeverBothOn) {
    run_command(CMD_EDIT_WINDOW);
    struct Step {
        int click;
        int location, all;
    } steps[] = {{EW_SHOW_LOCATION, 1, 0}, {EW_SHOW_ALL_POINTS, 0, 1}, {EW_SHOW_LOCATION, 1, 0},
                 {EW_SHOW_LOCATION, 0, 0}, {EW_SHOW_ALL_POINTS, 0, 1}, {EW_SHOW_ALL_POINTS, 0, 0}};
    for (const Step& s : steps) {
        main.commands.clear();
        click(s.click);
        EXPECT_EQ(view.show_location, s.location);
        EXPECT_EQ(view.show_all_points, s.all);
        EXPECT_EQ(frame().controls.checked(EW_SHOW_LOCATION), s.location == 1);
        EXPECT_EQ(frame().controls.checked(EW_SHOW_ALL_POINTS), s.all == 1);
        EXPECT_EQ(main.commands, std::vector<int>{CMD_REFRESH});
    }
    // Closing through the menu takes page and window off the screen.
    run_command(CMD_EDIT_WINDOW);
    EXPECT_EQ(view.edit_window, nullptr);
    EXPECT_TRUE(host.windows[0]->destroyed && host.windows[1]->destroyed);
    EXPECT_FALSE(menu_checked(CMD_EDIT_WINDOW));
}

} // namespace
