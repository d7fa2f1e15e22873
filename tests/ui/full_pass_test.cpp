// The real window as a user works it: one full pass through the sample archive with View Settings
// and the Edit Window open side by side, the edit surviving an export and a load; the Edit
// Window's pages and markers; a file dropped on the main window.
#include <QAbstractItemView>
#include <QComboBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>

#include "tests/ui/ui_fixture.h"

namespace {

class WindowsTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        open_window();
    }
    static std::string text(DialogWindow* dialog, int id) {
        return dynamic_cast<QtDialog*>(dialog)->text(id, 100);
    }
    // Pixels within 6 pixels of where model point (x, y) is seen from the front that are bright
    // in the channels where hue is and dark in the others.
    int marked(Qt::GlobalColor hue, float x, float y) {
        QImage image = frame();
        double per_unit = std::min(image.width(), image.height()) / 2.0 / view.zoom;
        int cx = int(image.width() / 2.0 - x * per_unit),
            cy = int(image.height() / 2.0 - y * per_unit);
        auto like = [](int value, int want) { return want ? value > 150 : value < 60; };
        QColor want(hue);
        int n = 0;
        for (int py = cy - 6; py <= cy + 6; ++py)
            for (int px = cx - 6; px <= cx + 6; ++px) {
                QColor c = image.pixelColor(px, py);
                n += like(c.red(), want.red()) && like(c.green(), want.green()) &&
                     like(c.blue(), want.blue());
            }
        return n;
    }
    void move_mouse(int x, int y, Qt::MouseButtons buttons) {
        QPointF at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, window->model_view()->mapToGlobal(at), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(window->model_view(), &move);
    }
};

TEST_F(WindowsTest, FullPassRowPickedByMouseWindowsFollowEachOtherAndAnEditSurvivesExportAndLoad) {
    ASSERT_EQ(QProcess::execute(MAKE_SAMPLES_EXECUTABLE, {QString::fromStdString(dir.path("s"))}),
              0);
    command_with_file(CMD_LOAD_HOG, dir.path("s/demo.hog"));
    window->command(CMD_VIEW_SETTINGS);
    auto& settings = dynamic_cast<QtDialog&>(*view.view_settings_window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&settings));
    EXPECT_TRUE(window->menu_action(CMD_VIEW_SETTINGS)->isChecked());
    // At (200, 0) dialog units from the main window's top-left corner, 273 x 212 in size.
    EXPECT_EQ(settings.geometry(),
              settings.to_pixels(200, 0, 273, 212).translated(window->mapToGlobal(QPoint(0, 0))));

    window->command(CMD_RIGHT);
    settle();
    QImage turned = frame();
    auto* list = qobject_cast<QComboBox*>(settings.control(VS_HOG_LIST));
    QTest::mouseClick(list, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->view()->isVisible(); }));
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the opening click is over
    QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                      list->view()->visualRect(list->model()->index(1, 0)).center());
    settle();
    EXPECT_EQ(status_caption_text(), " 2/6 : gun_tower.oof");
    EXPECT_NE(frame(), turned);
    EXPECT_EQ(text(&settings, VS_HOG_NUMBER), "2");
    ASSERT_GE(model.num_subobjects, 3u);

    QtDialog* page = &open_tab(6); // "SOBJ"
    type_and_leave(settings, VS_SOBJ_NUMBER, "2");
    EXPECT_EQ(text(view.edit_page_window, SM_NUMBER), "2") << "the page follows View Settings";
    click(*page, SM_PLUS);
    EXPECT_EQ(text(view.view_settings_window, VS_SOBJ_NUMBER), "3") << "and the other way";
    type_and_leave(*page, SM_PROPS, "$rotate=5");
    settings.close();
    settle();
    EXPECT_FALSE(window->menu_action(CMD_VIEW_SETTINGS)->isChecked());
    EXPECT_EQ(view.view_settings_window, nullptr);

    std::string saved = dir.path("edited.oof");
    command_with_file(CMD_EXPORT_OOF, saved);
    command_with_file(CMD_LOAD_OOF, dir.path("s/demo.oof"));
    command_with_file(CMD_LOAD_OOF, saved);
    EXPECT_STREQ(model.sobj_props[2], "$rotate=5");
}

TEST_F(WindowsTest, EditWindowPagesShowMoveAndMarkPointsWithoutTakingTheFocus) {
    // Points of four kinds around the square, outside it as seen from the front.
    command_with_file(CMD_LOAD_OOF, dir.write("points.oof", oof_panel_model(1, [] {
                                                  add_gun_point(0, {15, 15, 0}, {0, 0, 1});
                                                  add_ground_point(0, {-15, 15, 0});
                                                  add_nath_point(0, {-15, -15, 0}, {0, 0, 1});
                                                  add_special_point("light", "", {0, 17, 0}, 1);
                                              })));
    QTest::keyClick(window->model_view(), Qt::Key_F); // straight at the front
    window->command(CMD_EDIT_WINDOW);
    auto& edit = dynamic_cast<QtDialog&>(*view.edit_window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    window->activateWindow();
    window->model_view()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::tuple<int, int, const char*> steps[] = {
        {4, SP_NAME, "light"}, {3, PT_LOC_Y, "-15.000000"}, {0, PT_LOC_X, "15.000000"}};
    for (auto [tab, control, shown] : steps) {
        QtDialog& page = open_tab(tab);
        EXPECT_EQ(page.pos(), QPoint(20, 40));
        EXPECT_EQ(text(&page, control), shown) << tab;
        EXPECT_EQ(QApplication::activeWindow(), window.get()) << tab;
        EXPECT_TRUE(window->model_view()->hasFocus()) << tab;
    }

    EXPECT_EQ(marked(Qt::red, 15, 15), 0);
    click(edit, EW_SHOW_LOCATION);
    EXPECT_GT(marked(Qt::red, 15, 15), 5);
    EXPECT_EQ(marked(Qt::green, -15, 15), 0) << "only the shown page's point";
    type_and_leave(dynamic_cast<QtDialog&>(*view.edit_page_window), PT_LOC_X, "-5");
    EXPECT_EQ(model.gun_points.location[0].x, -5.0f);
    EXPECT_GT(marked(Qt::red, -5, 15), 5) << "the marker follows";
    move_mouse(100, 100, Qt::NoButton);
    move_mouse(150, 300, Qt::LeftButton); // x less by 0.5, y by 2
    EXPECT_FLOAT_EQ(model.gun_points.location[0].x, -5.5f);
    EXPECT_EQ(text(view.edit_page_window, PT_LOC_Y), "13.000000") << "the page follows the drag";
}

TEST_F(WindowsTest, AFileDroppedOnTheWindowOpensAsItsMenuCommandWould) {
    QMimeData data, two;
    std::string ships = dir.write("ships.hog", build_hog({{"m1.oof", oof_panel_model()}}));
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(ships))});
    two.setUrls({QUrl::fromLocalFile("/a.oof"), QUrl::fromLocalFile("/b.oof")});
    QPoint middle = window->rect().center();
    QDragEnterEvent refused(middle, Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted()) << "one file at a time";
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(status_caption_text(), " 1/1 : m1.oof");
    settle();
    EXPECT_GT(lit_pixels(frame()), 1000) << "the square is drawn";
}

} // namespace
