// What a person sees and does in the model view: model pixels, the status caption over the
// frame, outlines, grey untextured polygons, keys, CTRL and SHIFT drags and the spin timer.
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/hog_builder.h"
#include "ui/templates.h"
#include "ui/window/model_view.h"

namespace {

bool is_model_red(QColor c) {
    return c.red() > 60 && c.red() > 2 * c.green() && c.red() > 2 * c.blue();
}

bool is_black(QColor c) {
    return c.red() == 0 && c.green() == 0 && c.blue() == 0;
}

int count_pixels(const QImage& image, bool (*test)(QColor)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixelColor(x, y));
    return n;
}

class ModelViewTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        open_window();
    }
    void load(const std::vector<HogFile>& entries = {{"a.oof", square_model()},
                                                     {"b.oof", square_model()}}) {
        command_with_file(CMD_LOAD_HOG, dir.write("ships.hog", build_hog(entries)));
        ASSERT_EQ(view.model_loaded, 1);
    }
    // Pixels of grey text in the caption line; the brightest must be the text colour itself
    // (the rest are anti-aliased edges).
    int caption_text_pixels(const QImage& image) {
        QFontMetrics metrics(window->model_view()->font());
        int top = image.height() - 20, n = 0, brightest = 0;
        for (int y = top; y < top + metrics.height(); ++y)
            for (int x = 0; x < metrics.horizontalAdvance(" 1/2 : a.oof"); ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.red() == c.green() && c.green() == c.blue() && c.red() >= 100) {
                    ++n;
                    brightest = std::max(brightest, c.red());
                }
            }
        EXPECT_EQ(brightest, 200);
        return n;
    }
    QColor centre() {
        QImage image = frame();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->model_view(), k, modifiers);
    }
    void move_mouse(int x, int y, Qt::KeyboardModifiers modifiers) {
        QWidget* target = window->model_view();
        QPointF at(x, y);
        QMouseEvent event(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, modifiers);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(ModelViewTest, BlackBeforeALoadThenTheModelWithItsCaptionOverTheFrame) {
    QImage image = frame();
    EXPECT_EQ(count_pixels(image, is_black), image.width() * image.height());
    load();
    window->command(CMD_BLUE); // a blue background sets the caption's black box apart
    image = frame();
    EXPECT_TRUE(is_model_red(image.pixelColor(image.width() / 2, image.height() / 2)));
    int top = image.height() - 20;
    QFontMetrics metrics(window->model_view()->font());
    EXPECT_EQ(image.pixelColor(1, top - 2), QColor(0, 0, 255));
    EXPECT_TRUE(is_black(image.pixelColor(1, top + 1)));
    EXPECT_EQ(image.pixelColor(1, top + metrics.height() + 1), QColor(0, 0, 255));
    EXPECT_GT(caption_text_pixels(image), 20);
    // The caption box ends where its text ends.
    int right = metrics.horizontalAdvance(" 1/2 : a.oof") + 2;
    EXPECT_EQ(image.pixelColor(right, top + 1), QColor(0, 0, 255));
}

TEST_F(ModelViewTest, LinePolyDrawsOutlinesOnly) {
    load();
    int filled = count_pixels(frame(), is_model_red);
    ASSERT_TRUE(is_model_red(centre()));
    window->command(CMD_LINE_POLY);
    EXPECT_TRUE(is_black(centre()));
    QImage lines = frame();
    EXPECT_GT(caption_text_pixels(lines), 20); // the caption is not outlined
    int outline = count_pixels(lines, is_model_red);
    EXPECT_GT(outline, 50);
    EXPECT_LT(outline, filled / 4);
    window->command(CMD_LINE_POLY);
    EXPECT_TRUE(is_model_red(centre()));
}

TEST_F(ModelViewTest, ColorOffDrawsTexturedPolygonsGrey) {
    load({{"t.oof", textured_square_model()}, {"stripes.ogf", green_texture()}});
    QColor textured = centre();
    EXPECT_GT(textured.green(), 2 * textured.red() + 20);
    ASSERT_EQ(model.textures[0].loaded, 1);
    window->command(CMD_COLOR);
    EXPECT_EQ(model.textures[0].loaded, 0);
    QColor grey = centre();
    EXPECT_GT(grey.red(), 40);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    window->command(CMD_COLOR);
    EXPECT_EQ(model.textures[0].loaded, 1);
    EXPECT_EQ(centre(), textured);
}

TEST_F(ModelViewTest, KeysTurnStepKeyframesAndStepThroughTheArchive) {
    struct Step {
        Qt::Key key;
        float x, y;
    } steps[] = {{Qt::Key_Left, 30, 25}, {Qt::Key_Up, 25, 25},    {Qt::Key_Up, 20, 25},
                 {Qt::Key_Down, 25, 25}, {Qt::Key_Right, 25, 30}, {Qt::Key_S, 0, 270},
                 {Qt::Key_D, 30, 30},    {Qt::Key_F, 0, 0},       {Qt::Key_E, 90, 0},
                 {Qt::Key_C, 270, 0}};
    for (const Step& s : steps) {
        key(s.key);
        EXPECT_EQ(view.rot_x, s.x) << s.key;
        EXPECT_EQ(view.rot_y, s.y) << s.key;
    }
    // Main-row digits step keyframes; the keypad's do not.
    model.num_used_frames = 3;
    view.positions_on = 1;
    view.cur_keyframe = 2;
    key(Qt::Key_0, Qt::KeypadModifier);
    key(Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(view.cur_keyframe, 2u);
    for (auto [k, frame] : {std::pair{Qt::Key_8, 1u}, {Qt::Key_0, 0u}, {Qt::Key_9, 1u}}) {
        key(k);
        EXPECT_EQ(view.cur_keyframe, frame) << k;
    }
    load();
    for (auto [k, entry] : {std::pair{Qt::Key_N, 1u}, {Qt::Key_N, 1u}, {Qt::Key_P, 0u}}) {
        key(k);
        EXPECT_EQ(view.cur_hog_oof, entry) << k;
    }
}

TEST_F(ModelViewTest, CtrlDragTurnsAndShiftDragZooms) {
    load();
    float auto_zoom = view.zoom;
    move_mouse(100, 100, Qt::ControlModifier); // the first move only records
    EXPECT_EQ(view.rot_x, START_ROT);
    move_mouse(120, 90, Qt::ControlModifier);
    EXPECT_EQ(view.rot_x, 20.0f);
    EXPECT_EQ(view.rot_y, 50.0f);

    int before = count_pixels(frame(), is_model_red);
    move_mouse(120, 110, Qt::ShiftModifier); // down: a wider view, a smaller model
    EXPECT_EQ(view.zoom, auto_zoom + 20);
    EXPECT_EQ(view.zoom_locked, 1);
    EXPECT_LT(count_pixels(frame(), is_model_red), before);
    move_mouse(120, -400, Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(view.zoom, 0.2f * model.model_radius);
    // The locked zoom survives a resize; Size2Poly gives the automatic zoom back.
    window->resize(420, 380);
    settle();
    EXPECT_FLOAT_EQ(view.zoom, 0.2f * model.model_radius);
    window->command(CMD_SIZE2POLY);
    window->command(CMD_SIZE2POLY);
    EXPECT_EQ(view.zoom, auto_zoom);
}

TEST_F(ModelViewTest, TimerSpinsARotateSubobjectThreeDegreesATick) {
    command_with_file(CMD_LOAD_OOF, dir.write("spin.oof", square_model("$rotate=5")));
    ASSERT_EQ(model.any_rotate, 1);
    view.rotate_on = 1;
    QSignalSpy ticks(&window->spin_timer(), &QTimer::timeout);
    window->start_spin_timer();
    EXPECT_EQ(window->spin_timer().interval(), 50);
    while (ticks.count() < 4)
        ASSERT_TRUE(ticks.wait(1000));
    window->kill_spin_timer();
    EXPECT_EQ(view.spin_angle[1], 3.0f * ticks.count());
    EXPECT_EQ(view.spin_angle[0], 0.0f);
}

} // namespace
