// UI test fixture and the main of every UI test program.
#include "tests/ui/ui_fixture.h"

#include <QTabBar>

#include "ui/file_dialogs.h"

int lit_pixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height() - 24; ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) != QColor(0, 0, 0);
    return n;
}

void UiTest::SetUp() {
    CoreTest::SetUp();
    install_file_picker(&picker);
}

void UiTest::TearDown() {
    window.reset();
    install_file_picker(nullptr);
    CoreTest::TearDown();
}

MainWindow& UiTest::open_window() {
    window = std::make_unique<MainWindow>();
    window->show();
    window->activateWindow(); // what a window manager does for a new window
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // The GL context exists once the view has drawn its first frame.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->model_view()->isValid(); }));
    return *window;
}

void UiTest::command_with_file(int id, const std::string& path) {
    picker.push(path);
    window->command(id);
}

void UiTest::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QtDialog& UiTest::open_tab(int tab) {
    if (!view.edit_window_open)
        window->command(CMD_EDIT_WINDOW);
    auto* frame = dynamic_cast<QtDialog*>(view.edit_window);
    EXPECT_TRUE(frame && QTest::qWaitForWindowExposed(frame));
    auto* bar = frame->control(EW_TABS)->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    settle();
    return dynamic_cast<QtDialog&>(*view.edit_page_window);
}

void UiTest::click(QtDialog& dialog, int id) {
    QWidget* control = dialog.control(id);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
    settle();
}

void UiTest::type_and_leave(QtDialog& dialog, int id, const QString& typed) {
    QWidget* edit = dialog.control(id);
    dialog.window()->activateWindow();
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    for (QChar ch : typed) // keyClicks knows only ASCII
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), {});
    QTest::keyClick(edit, Qt::Key_Tab);
    settle();
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) // listing the tests (at build time) needs no display
        return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
