// The View Settings window on the real widgets: placed from its template, a row chosen with
// the mouse loads that model, a typed subobject number acts on leaving the field, and the
// close box clears the menu's check mark.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/hog_builder.h"
#include "ui/control_ids.h"
#include "ui/platform/qt_dialog.h"
#include "ui/status_text.h"
#include "ui/templates.h"

namespace {

class ViewSettingsWindowTest : public UiTest {
  protected:
    QtDialog& open_settings() {
        window->command(CMD_VIEW_SETTINGS);
        auto* dialog = dynamic_cast<QtDialog*>(view.view_settings_window);
        EXPECT_TRUE(dialog && QTest::qWaitForWindowExposed(dialog));
        return *dialog;
    }
};

TEST_F(ViewSettingsWindowTest, RowsLoadByMouseFieldsActOnLeavingAndTheCloseBoxUnchecks) {
    open_window();
    command_with_file(CMD_LOAD_HOG,
                      dir.write("ships.hog", build_hog({{"m1.oof", square_model()},
                                                        {"m2.oof", square_model("$rotate=5")},
                                                        {"m3.oof", square_model()}})));
    QtDialog& dialog = open_settings();
    EXPECT_TRUE(window->menu_action(CMD_VIEW_SETTINGS)->isChecked());
    // At (200, 0) dialog units from the main window's top-left corner, 273 x 212 in size.
    QPoint origin = window->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(dialog.pos(), origin + dialog.to_pixels(200, 0, 273, 212).topLeft());
    EXPECT_EQ(dialog.size(), dialog.to_pixels(200, 0, 273, 212).size());

    window->command(CMD_RIGHT);
    window->command(CMD_RIGHT);
    settle();
    QImage turned = frame();
    auto* list = qobject_cast<QComboBox*>(dialog.control(VS_HOG_LIST));
    ASSERT_EQ(list->count(), 3);
    QTest::mouseClick(list, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->view()->isVisible(); }));
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the opening click is over
    QModelIndex row = list->model()->index(1, 0);
    QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                      list->view()->visualRect(row).center());
    settle();
    EXPECT_EQ(status_caption_text(), " 2/3 : m2.oof");
    EXPECT_EQ(view.rot_y, START_ROT) << "loaded with the start orientation";
    EXPECT_NE(frame(), turned);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.control(VS_HOG_NUMBER))->text(), "2");

    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* sobj = qobject_cast<QLineEdit*>(dialog.control(VS_SOBJ_NUMBER));
    QTest::mouseClick(sobj, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([sobj] { return sobj->hasFocus(); }));
    QTest::keyClick(sobj, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(sobj, "2");
    EXPECT_EQ(view.cur_sobj, 0u) << "typing alone does nothing";
    QTest::keyClick(sobj, Qt::Key_Tab);
    EXPECT_EQ(view.cur_sobj, 1u);
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.control(VS_SOBJ_PROPS))->text(), "$rotate=5");

    dialog.close();
    settle();
    EXPECT_FALSE(window->menu_action(CMD_VIEW_SETTINGS)->isChecked());
    EXPECT_EQ(view.view_settings_open, 0);
    EXPECT_EQ(view.view_settings_window, nullptr);
}

} // namespace
