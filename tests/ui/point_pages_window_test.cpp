// The Edit Window's point pages on the real widgets: tabs switch pages without taking the focus,
// typed and dragged locations move the marker in the view, every point kind shows in its colour,
// and the edits survive an export and a load.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "ui/control_ids.h"
#include "ui/platform/qt_dialog.h"
#include "ui/templates.h"
#include "ui/window/model_view.h"

namespace {

// A marker colour: each channel bright or dark.
struct Hue {
    bool r, g, b;
};
constexpr Hue RED{1, 0, 0}, GREEN{0, 1, 0}, MAGENTA{1, 0, 1}, CYAN{0, 1, 1}, YELLOW{1, 1, 0};

bool shows(QColor c, Hue hue) {
    auto channel = [](int value, bool bright) { return bright ? value > 150 : value < 60; };
    return channel(c.red(), hue.r) && channel(c.green(), hue.g) && channel(c.blue(), hue.b);
}

class EditPagesWindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        open_window();
        // One point of each kind around the 20 x 20 square, outside it as seen from the front.
        std::vector<uint8_t> file = square_model_with(
            {oof_points("GPNT", {{0, {15, 15, 0}, {0, 0, 1}}}),
             oof_points("GRND", {{0, {-15, 15, 0}, {0, 0, 1}}}),
             oof_points("ATCH", {{0, {15, -15, 0}, {0, 0, 1}}}),
             oof_points("NATH", {{0, {-15, -15, 0}, {0, 0, 1}}}),
             oof_spcl({{std::string("light") + '\0', std::string(1, '\0'), {0, 17, 0}, 1}})});
        command_with_file(CMD_LOAD_OOF, dir.write("points.oof", file));
        QTest::keyClick(window->model_view(), Qt::Key_F); // straight at the front
        window->command(CMD_EDIT_WINDOW);
        edit = dynamic_cast<QtDialog*>(view.edit_window);
        ASSERT_TRUE(edit && QTest::qWaitForWindowExposed(edit));
        tabs = edit->control(EW_TABS)->findChild<QTabBar*>();
    }
    QtDialog& page() { return dynamic_cast<QtDialog&>(*view.edit_page_window); }
    QString shown(int id) { return qobject_cast<QLineEdit*>(page().control(id))->text(); }
    void click(QWidget* w, QPoint at) {
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        settle();
    }
    // Types into a page field as a person does and leaves it with Tab.
    void type(int id, const char* text) {
        edit->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(edit));
        QWidget* field = page().control(id);
        QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
        settle();
    }
    void move_mouse(int x, int y, Qt::MouseButtons buttons) {
        QPointF at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, window->model_view()->mapToGlobal(at), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(window->model_view(), &move);
    }
    // Pixels of the hue within 6 pixels of where model point (x, y) is seen from the front.
    int marked(Hue hue, float x, float y) {
        QImage image = frame();
        double per_unit = std::min(image.width(), image.height()) / 2.0 / view.zoom;
        int cx = int(image.width() / 2.0 - x * per_unit);
        int cy = int(image.height() / 2.0 - y * per_unit);
        int n = 0;
        for (int py = cy - 6; py <= cy + 6; ++py)
            for (int px = cx - 6; px <= cx + 6; ++px)
                n += image.valid(px, py) && shows(image.pixelColor(px, py), hue);
        return n;
    }

    QtDialog* edit = nullptr;
    QTabBar* tabs = nullptr;
};

TEST_F(EditPagesWindowTest, SevenTabsSwitchPagesWithoutTakingTheFocus) {
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->tabText(6), "SOBJ");
    window->activateWindow();
    window->model_view()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::tuple<int, int, const char*> steps[] = {
        {4, SP_NAME, "light"}, {1, PT_LOC_X, "-15.000000"}, {3, PT_LOC_Y, "-15.000000"}};
    for (auto [tab, control, text] : steps) {
        click(tabs, tabs->tabRect(tab).center());
        ASSERT_TRUE(page().isVisible());
        EXPECT_EQ(page().pos(), QPoint(20, 40));
        EXPECT_EQ(shown(control), text) << tab;
        EXPECT_EQ(QApplication::activeWindow(), window.get()) << tab;
        EXPECT_TRUE(window->model_view()->hasFocus()) << tab;
    }
}

TEST_F(EditPagesWindowTest, MarkersFollowTypedAndDraggedPointsAndEditsSurviveAnExport) {
    auto* location = qobject_cast<QCheckBox*>(edit->control(EW_SHOW_LOCATION));
    EXPECT_EQ(marked(RED, 15, 15), 0);
    click(location, QPoint(4, location->height() / 2));
    EXPECT_GT(marked(RED, 15, 15), 5);
    EXPECT_EQ(marked(GREEN, -15, 15), 0) << "only the shown page's point";
    type(PT_LOC_X, "-5");
    EXPECT_EQ(model.gun_points.location[0].x, -5.0f);
    EXPECT_EQ(shown(PT_LOC_X), "-5.000000");
    EXPECT_EQ(marked(RED, 15, 15), 0);
    EXPECT_GT(marked(RED, -5, 15), 5);

    move_mouse(100, 100, Qt::NoButton);
    move_mouse(150, 300, Qt::LeftButton); // x less by 0.5, y by 2
    EXPECT_FLOAT_EQ(model.gun_points.location[0].x, -5.5f);
    EXPECT_EQ(shown(PT_LOC_Y), "13.000000") << "the page follows the drag";

    auto* all = qobject_cast<QCheckBox*>(edit->control(EW_SHOW_ALL_POINTS));
    click(all, QPoint(4, all->height() / 2));
    const std::tuple<Hue, float, float> spots[] = {
        {RED, -5.5f, 13}, {GREEN, -15, 15}, {MAGENTA, 15, -15}, {CYAN, -15, -15}, {YELLOW, 0, 17}};
    for (auto [hue, x, y] : spots)
        EXPECT_GT(marked(hue, x, y), 5) << x << ", " << y;

    click(tabs, tabs->tabRect(4).center());
    for (int button : {SP_ADD, SP_PLUS})
        click(page().control(button), page().control(button)->rect().center());
    type(SP_NAME, "dock");
    type(SP_RADIUS, "4");
    EXPECT_EQ(shown(SP_NUMBER), "2");

    std::string out = dir.path("edited.oof");
    command_with_file(CMD_EXPORT_OOF, out);
    command_with_file(CMD_LOAD_OOF, dir.write("plain.oof", square_model()));
    EXPECT_EQ(shown(SP_NAME), "");
    command_with_file(CMD_LOAD_OOF, out);
    ASSERT_EQ(model.num_special_points, 2u);
    EXPECT_STREQ(model.special_points.name[1], "dock");
    EXPECT_EQ(model.special_points.radius[1], 4.0f);
    EXPECT_FLOAT_EQ(model.gun_points.location[0].y, 13.0f);
    EXPECT_EQ(shown(SP_NUMBER), "1") << "the load refreshed the page";
    EXPECT_EQ(shown(SP_NAME), "light");
}

} // namespace
