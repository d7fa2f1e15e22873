// The window host: every template becomes a real window with its controls; user actions reach
// the procedure with the right notification, refreshes do not; the fake behaves like the host.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QValidator>

#include "tests/support/fake_dialog_controls.h"
#include "ui/platform/qt_dialog.h"
#include "ui/templates.h"

namespace {

struct Call {
    std::string what;
    int id;
    int notify;
    bool operator==(const Call&) const = default;
};

class RecordingProcedure : public DialogProcedure {
  public:
    explicit RecordingProcedure(std::vector<Call>& calls) : calls_(calls) {}
    void init(int code) override { calls_.push_back({"init", code, 0}); }
    void command(int id, int notify) override { calls_.push_back({"command", id, notify}); }
    void close() override { calls_.push_back({"close", 0, 0}); }

  private:
    std::vector<Call>& calls_;
};

class DialogHostTest : public ::testing::Test {
  protected:
    QtDialog& open(int template_id, QWidget* owner = nullptr) {
        dialog = std::make_unique<QtDialog>(*find_dialog_template(template_id),
                                            std::make_unique<RecordingProcedure>(calls), owner);
        dialog->start();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    template <class W> W* widget(int id) {
        W* w = qobject_cast<W*>(dialog->control(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    std::vector<Call> calls;
    std::unique_ptr<QtDialog> dialog;
};

TEST_F(DialogHostTest, EveryTemplateShowsEveryControlWithItsText) {
    for (const DialogTemplate* t : all_dialog_templates()) {
        SCOPED_TRACE(t->id);
        calls.clear();
        QWidget owner;
        owner.resize(800, 600);
        if (t->kind == DialogKind::child) {
            owner.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        }
        open(t->id, t->kind == DialogKind::child ? &owner : nullptr);
        EXPECT_EQ(calls, (std::vector<Call>{{"init", 0, 0}}));
        if (t->kind == DialogKind::popup) {
            EXPECT_EQ(dialog->windowTitle().toStdString(), t->caption);
        } else {
            EXPECT_FALSE(dialog->isWindow());
        }
        QRect inside(QPoint(0, 0), dialog->size());
        for (const ControlTemplate& c : t->controls) {
            if (c.id == NO_ID)
                continue;
            QWidget* w = dialog->control(c.id);
            ASSERT_NE(w, nullptr) << c.id;
            EXPECT_TRUE(w->isVisible()) << c.id;
            EXPECT_TRUE(inside.contains(w->geometry())) << c.id;
            if (c.kind == ControlKind::label || c.kind == ControlKind::push_button ||
                c.kind == ControlKind::check_box) {
                EXPECT_EQ(dialog->text(c.id, 100), c.text) << c.id;
            }
            if (c.kind == ControlKind::edit) {
                auto* edit = qobject_cast<QLineEdit*>(w);
                ASSERT_NE(edit, nullptr) << c.id;
                bool digits = c.style & style_digits_only;
                EXPECT_EQ(edit->validator() != nullptr, digits) << c.id;
                if (digits) {
                    QString letters = QStringLiteral("1a");
                    int pos = 0;
                    EXPECT_EQ(edit->validator()->validate(letters, pos), QValidator::Invalid);
                }
            }
        }
        dialog.reset();
    }
}

TEST_F(DialogHostTest, DialogUnitsFollowTheFontAndKeepNeighboursApart) {
    open(DIALOG_VIEW_SETTINGS);
    EXPECT_GT(dialog->base_x(), 3.0);
    EXPECT_GT(dialog->base_y(), dialog->base_x()); // characters are taller than wide
    EXPECT_EQ(dialog->width(), static_cast<int>(std::lround(273 * dialog->base_x() / 4)));
    EXPECT_EQ(dialog->height(), static_cast<int>(std::lround(212 * dialog->base_y() / 8)));
    // The archive number field (230, 26, 21 wide) ends left of its "+" button at x 254, and
    // the "+" (y 22) sits above the "-" (y 32) without overlapping it.
    QRect field = dialog->control(1003)->geometry();
    QRect plus = dialog->control(1009)->geometry();
    QRect minus = dialog->control(1010)->geometry();
    EXPECT_LT(field.right(), plus.left());
    EXPECT_LE(plus.bottom(), minus.top());
    EXPECT_EQ(plus.left(), minus.left());
}

TEST_F(DialogHostTest, UserActionsReachTheProcedureWithTheirNotification) {
    open(DIALOG_VIEW_SETTINGS);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    calls.clear();

    QTest::mouseClick(widget<QPushButton>(1009), Qt::LeftButton);
    auto* rotate = widget<QCheckBox>(1006);
    QTest::mouseClick(rotate, Qt::LeftButton, {}, QPoint(4, rotate->height() / 2));
    EXPECT_TRUE(rotate->isChecked());

    auto* field = widget<QLineEdit>(1003);
    field->setFocus();
    QTest::keyClicks(field, "12x");
    EXPECT_EQ(field->text(), "12"); // digits only
    widget<QLineEdit>(1007)->setFocus();

    dialog->add_row(1000, "a.oof");
    dialog->add_row(1000, "b.oof");
    auto* combo = widget<QComboBox>(1000);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);

    dialog->close();
    EXPECT_TRUE(dialog->isVisible()); // closing is the owner's decision

    std::vector<Call> expected{
        {"command", 1009, NOTIFY_CLICKED},           {"command", 1006, NOTIFY_CLICKED},
        {"command", 1003, NOTIFY_LOST_FOCUS},        {"command", 1007, NOTIFY_LOST_FOCUS},
        {"command", 1000, NOTIFY_SELECTION_CHANGED}, {"close", 0, 0}};
    EXPECT_EQ(calls, expected);
}

TEST_F(DialogHostTest, TabControlSwitchesOnlyOnTheUsersClick) {
    open(DIALOG_EDIT_WINDOW);
    calls.clear();
    for (const char* label : {"GPNT", "GRND", "ATCH"})
        dialog->add_row(1109, label);
    dialog->select_row(1109, 2);
    EXPECT_TRUE(calls.empty());
    QTabBar* bar = dialog->control(1109)->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->rect().contains(bar->tabRect(2))) << "every tab can be seen";
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(dialog->selected_row(1109), 0);
    EXPECT_EQ(calls, (std::vector<Call>{{"command", 1109, NOTIFY_SELECTION_CHANGED}}));
}

// One script of calls on the Qt host and on the fake must leave the same observations.
template <class Controls> std::vector<std::string> observe(Controls& c) {
    auto str = [](auto... v) { return (std::to_string(v) + ...); };
    c.set_text(1019, "turret_long_name");
    c.set_text(1007, "12345678901");
    std::vector<std::string> seen{c.text(1019, 6), c.text(1007, 9), c.text(1003, 9)};
    c.enable(1003, false);
    c.check(1005, true);
    c.add_row(1000, "one.oof");
    c.add_row(1000, "two.oof");
    seen.push_back(str(c.enabled(1003), c.enabled(1007), c.checked(1005), c.checked(1006),
                       c.row_count(1000), c.selected_row(1000)));
    c.select_row(1000, 1);
    seen.push_back(str(c.selected_row(1000)) + c.text(1000, 9));
    c.select_row(1000, 7);
    seen.push_back(str(c.selected_row(1000)));
    c.clear_rows(1000);
    seen.push_back(str(c.row_count(1000), c.selected_row(1000)));
    return seen;
}

TEST_F(DialogHostTest, FakeControlsBehaveLikeTheRealWindowAndRefreshesSendNoCommands) {
    open(DIALOG_VIEW_SETTINGS);
    calls.clear();
    FakeDialogControls fake(*find_dialog_template(DIALOG_VIEW_SETTINGS));
    std::vector<std::string> real = observe(*dialog);
    EXPECT_EQ(observe(fake), real);
    EXPECT_EQ(real, (std::vector<std::string>{"turret", "123456789", "", "01102-1", "1two.oof",
                                              "-1", "0-1"}));
    EXPECT_FALSE(dialog->control(1003)->isEnabled());
    dialog->init(INIT_KEEP_LIST);
    EXPECT_EQ(calls, (std::vector<Call>{{"init", 2, 0}}));
}

} // namespace
