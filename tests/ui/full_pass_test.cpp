// One pass through the program as a user makes it: the sample archive loaded, View Settings and
// the Edit Window open side by side and following each other's subobject, a point, a battery
// and a property string edited, the model exported and loaded back with every edit in it.
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "ui/control_ids.h"
#include "ui/templates.h"

namespace {

class FullPassTest : public UiTest {
  protected:
    std::string field(DialogWindow* window, int id) {
        auto* edit = qobject_cast<QLineEdit*>(dynamic_cast<QtDialog*>(window)->control(id));
        return edit ? edit->text().toStdString() : "?";
    }
};

TEST_F(FullPassTest, EditsMadeInBothWindowsSurviveAnExportAndALoad) {
    QProcess generator;
    generator.start(MAKE_SAMPLES_EXECUTABLE, {QString::fromStdString(dir.path("samples"))});
    ASSERT_TRUE(generator.waitForFinished(30000));
    open_window();
    command_with_file(CMD_LOAD_HOG, dir.path("samples/demo.hog"));
    ASSERT_GE(model.num_subobjects, 3u);

    window->command(CMD_VIEW_SETTINGS);
    auto& settings = dynamic_cast<QtDialog&>(*view.view_settings_window);
    QtDialog* page = &open_tab(6); // "SOBJ"
    click(settings, VS_SOBJ_PLUS);
    EXPECT_EQ(view.cur_sobj, 1u);
    EXPECT_EQ(field(view.edit_page_window, SM_NUMBER), "2") << "the page follows View Settings";
    click(*page, SM_PLUS);
    EXPECT_EQ(field(view.view_settings_window, VS_SOBJ_NUMBER), "3") << "and the other way";
    type_and_leave(*page, SM_PROPS, "$rotate=5");
    EXPECT_EQ(model.sobj_rotate[2], 1);

    page = &open_tab(0); // "GPNT"
    uint32_t guns = model.num_gun_points;
    click(*page, PT_ADD);
    ASSERT_EQ(model.num_gun_points, guns + 1);
    for (uint32_t i = 0; i < guns; ++i) // to the new, last point
        click(*page, PT_PLUS);
    type_and_leave(*page, PT_LOC_X, "7.5");
    EXPECT_EQ(model.gun_points.location[guns].x, 7.5f);

    page = &open_tab(5); // "WBAT"
    uint32_t batteries = model.num_batteries;
    click(*page, WB_ADD);
    for (uint32_t i = 0; i < batteries; ++i) // to the new, empty battery
        click(*page, WB_PLUS);
    click(*page, WB_FIRST_GUN + static_cast<int>(guns));
    ASSERT_EQ(model.batteries.num_guns[batteries], 1u);

    std::string saved = dir.path("edited.oof");
    command_with_file(CMD_EXPORT_OOF, saved);
    command_with_file(CMD_LOAD_OOF, dir.path("samples/demo.oof"));
    command_with_file(CMD_LOAD_OOF, saved);
    ASSERT_EQ(view.model_loaded, 1);
    EXPECT_STREQ(model.sobj_props[2], "$rotate=5");
    EXPECT_EQ(model.sobj_rotate[2], 1);
    ASSERT_EQ(model.num_gun_points, guns + 1);
    EXPECT_EQ(model.gun_points.location[guns].x, 7.5f);
    ASSERT_EQ(model.num_batteries, batteries + 1);
    ASSERT_EQ(model.batteries.num_guns[batteries], 1u);
    EXPECT_EQ(model.batteries.guns[batteries][0], guns);
}

} // namespace
