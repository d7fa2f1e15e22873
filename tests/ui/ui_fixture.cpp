// UI test fixture and the test models.
#include "tests/ui/ui_fixture.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "state/view_state.h"
#include "ui/control_ids.h"
#include "ui/templates.h"

#include "tools/oof_builder.h"
#include "tools/texture_builder.h"
#include "ui/file_dialogs.h"
#include "ui/window/model_view.h"

namespace {

OofSubobject square_subobject(uint32_t number, int32_t parent, const std::string& name,
                              const std::string& props, bool textured) {
    // Untextured polygons carry the model colour, textured ones texture 0.
    uint8_t red = textured ? 0 : MODEL_RED, green = textured ? 0 : MODEL_GREEN,
            blue = textured ? 0 : MODEL_BLUE;
    OofPolygon front{.normal = {0, 0, 1},
                     .n_txtr = textured,
                     .red = red,
                     .green = green,
                     .blue = blue,
                     .corners = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}};
    OofPolygon back = front;
    back.normal = {0, 0, -1};
    back.corners = {{3, 0, 1}, {2, 1, 1}, {1, 1, 0}, {0, 0, 0}};
    return {.number = number,
            .parent = parent,
            .name = name + '\0',
            .props = props + '\0',
            .positions = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}},
            .normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
            .alphas = {1, 1, 1, 1},
            .polygons = {front, back}};
}

std::vector<uint8_t> model_file(bool textured, const std::string& second_props,
                                const std::vector<OofChunk>& extra = {}) {
    std::vector<OofChunk> chunks;
    if (textured)
        chunks.push_back(oof_txtr({std::string("stripes") + '\0'}));
    uint32_t count = second_props.empty() ? 1 : 2;
    chunks.push_back(oof_ohdr(count, 15, {-10, -10, 0}, {10, 10, 0}));
    chunks.push_back(oof_sobj(square_subobject(0, -1, "square", "", textured), 2300));
    if (!second_props.empty()) {
        OofSubobject part = square_subobject(1, 0, "part", second_props, false);
        part.offset = {0, 0, 1};
        chunks.push_back(oof_sobj(part, 2300));
    }
    chunks.insert(chunks.end(), extra.begin(), extra.end());
    return build_oof(2300, chunks);
}

} // namespace

std::vector<uint8_t> square_model(const std::string& second_props) {
    return model_file(false, second_props);
}
std::vector<uint8_t> square_model_with(const std::vector<OofChunk>& chunks) {
    return model_file(false, "", chunks);
}
std::vector<uint8_t> textured_square_model() {
    return model_file(true, "");
}

std::vector<uint8_t> green_texture() {
    std::vector<uint16_t> pixels(16, pack_1555(0, 255, 0));
    return build_ogf(make_ogf_image(4, 4, pixels));
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
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The GL context exists once the view has drawn its first frame.
    for (int i = 0; i < 100 && !window->model_view()->isValid(); ++i)
        QTest::qWait(10);
    EXPECT_TRUE(window->model_view()->isValid());
    return *window;
}

void UiTest::command_with_file(int id, const std::string& path) {
    picker.push(path);
    window->command(id);
}

QImage UiTest::frame() {
    return window->model_view()->grabFramebuffer();
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
    frame->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame));
    return dynamic_cast<QtDialog&>(*view.edit_page_window);
}

void UiTest::click(QtDialog& dialog, int id) {
    QTest::mouseClick(dialog.control(id), Qt::LeftButton);
    settle();
}

void UiTest::type_and_leave(QtDialog& dialog, int id, const QString& typed) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.control(id));
    dialog.activateWindow();
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    for (QChar ch : typed) // keyClicks knows only ASCII
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), {});
    QTest::keyClick(edit, Qt::Key_Tab);
    settle();
}
