// Message boxes as the user sees them: caption, text, icon, OK button and owner window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/platform/qt_box_presenter.h"
#include "ui/window/gui_sink.h"

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget* owner = nullptr;
};

// Reads the modal box once it is up (polling, so a slow start cannot leave it open) and
// presses its OK button.
void answer_next_box(SeenBox& seen, int tries = 250) {
    QTimer::singleShot(20, [&seen, tries] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (tries > 0)
                answer_next_box(seen, tries - 1);
            else
                ADD_FAILURE() << "no message box appeared";
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text().remove('&');
        seen.owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(MessageBoxes, GuiSinkShowsAModalBoxOwnedByTheMainWindow) {
    QWidget main_window;
    main_window.show();
    QtBoxPresenter presenter;
    presenter.set_owner(&main_window);
    GuiMessageSink sink(presenter);
    install_message_sink(&sink);

    SeenBox seen;
    answer_next_box(seen);
    message_box("WARNING", "GetOpenFileName returned Error #12291", BoxIcon::error);
    EXPECT_EQ(seen.title, "WARNING");
    EXPECT_EQ(seen.text, "GetOpenFileName returned Error #12291");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList({"OK"}));
    EXPECT_EQ(seen.owner, &main_window);

    SeenBox info;
    answer_next_box(info);
    message_box("Info", "This Hog has no Oof files");
    EXPECT_EQ(info.title, "Info");
    EXPECT_EQ(info.icon, QMessageBox::NoIcon);
    install_message_sink(nullptr);
}

} // namespace
