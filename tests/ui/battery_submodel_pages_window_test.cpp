// The Edit Window's battery and submodel pages on the real widgets: a battery made with the
// mouse survives an export and a new load, and a typed "$glow=" changes the view at once.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/oof_builder.h"
#include "ui/control_ids.h"
#include "ui/platform/qt_dialog.h"
#include "ui/templates.h"

namespace {

class EditPagesWindowTest : public UiTest {};

// The square model whose second subobject is a turret, with three gun points.
std::vector<uint8_t> turret_model() {
    std::vector<uint8_t> file = square_model("$fov=360.0,8.0,8.0");
    OofPoint point{0, {1, 2, 3}, {0, 0, 1}};
    std::vector<uint8_t> points = build_oof(2300, {oof_points("GPNT", {point, point, point})});
    file.insert(file.end(), points.begin() + 8, points.end()); // chunks follow the header
    return file;
}

TEST_F(EditPagesWindowTest, BatteryClickedTogetherIsExportedInRisingOrder) {
    open_window();
    command_with_file(CMD_LOAD_OOF, dir.write("turret.oof", turret_model()));
    QtDialog& page = open_tab(5);
    ASSERT_FALSE(page.control(WB_FIRST_GUN)->isEnabled());
    click(page, WB_ADD);
    EXPECT_FALSE(page.control(WB_FIRST_TURRET)->isEnabled()) << "no field of view";
    for (int id : {WB_FIRST_TURRET + 1, WB_FIRST_GUN + 2, WB_FIRST_GUN + 0})
        click(page, id);
    std::string out = dir.path("battery.oof");
    command_with_file(CMD_EXPORT_OOF, out);

    model.num_batteries = 0;
    command_with_file(CMD_LOAD_OOF, out);
    ASSERT_EQ(model.num_batteries, 1u);
    const WeaponBattery& w = model.batteries;
    EXPECT_EQ(std::vector<uint32_t>(w.guns[0], w.guns[0] + w.num_guns[0]),
              (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(std::vector<uint32_t>(w.turrets[0], w.turrets[0] + w.num_turrets[0]),
              std::vector<uint32_t>{1});
    auto& reloaded = dynamic_cast<QtDialog&>(*view.edit_page_window);
    for (int i : {0, 1, 2})
        EXPECT_EQ(qobject_cast<QCheckBox*>(reloaded.control(WB_FIRST_GUN + i))->isChecked(),
                  i != 1);
}

TEST_F(EditPagesWindowTest, TypedGlowChangesThePixelsAndLongNamesAreCut) {
    open_window();
    command_with_file(CMD_LOAD_OOF, dir.write("square.oof", square_model()));
    view.glow_on = 1;
    QtDialog& page = open_tab(6);
    settle();
    QImage before = frame();
    type_and_leave(page, SM_PROPS, "$glow=1,0,0,1");
    EXPECT_EQ(model.sobj_glow[0], 1);
    EXPECT_NE(frame(), before);

    // 44 characters of which 20 take two bytes: cut at the 44th byte, the props untouched.
    type_and_leave(page, SM_NAME, QString(24, 'x') + QString(20, QChar(0xe9)));
    EXPECT_EQ(std::strlen(model.sobj_name[0]), 44u);
    EXPECT_STREQ(model.sobj_props[0], "$glow=1,0,0,1");
}

} // namespace
