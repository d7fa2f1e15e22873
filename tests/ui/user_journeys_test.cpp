// What a person does with the real window: menus opened with the mouse, names typed into the
// real file dialogs, message boxes answered with the keyboard, and the model's pixels checked
// afterwards. No fake picker and no recording sink: the boxes are the real ones.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <filesystem>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/cob_builder.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"
#include "ui/file_dialogs.h"
#include "ui/platform/qt_box_presenter.h"
#include "ui/platform/qt_file_picker.h"
#include "ui/status_text.h"
#include "ui/window/gui_sink.h"
#include "ui/window/model_view.h"

namespace {

namespace fs = std::filesystem;

// How a step answers the modal window it expects.
enum class Answer { type_and_enter, type_and_click_open, press_enter, click_yes };

struct Step {
    Answer answer;
    QString name; // typed into a file dialog; for a box, the start of its text
};

// Answers the modal windows of a command as a person would, one step per window, polling
// from the event loop that the modal window itself runs.
class ModalAnswerer {
  public:
    ModalAnswerer() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    void expect(Answer answer, const QString& name = {}) { steps_.push_back({answer, name}); }
    bool done() const { return steps_.empty(); }
    std::vector<std::string> boxes; // "caption: text" of every box answered

  private:
    // The answer runs from its own single-shot timer: an answer can open the next modal
    // window (the save dialog's replace question), whose loop must still see this timer fire.
    void poll() {
        if (!pending_ && QApplication::activeModalWidget()) {
            pending_ = true;
            QTimer::singleShot(0, [this] {
                pending_ = false;
                answer();
            });
        }
    }

    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (steps_.empty() || ++polls_on_same_ > 250) {
            ADD_FAILURE() << "unexpected or stuck modal window "
                          << modal->windowTitle().toStdString();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            answer_box(*box);
        else if (auto* dialog = qobject_cast<QFileDialog*>(modal))
            answer_file_dialog(*dialog);
    }

    void answer_box(QMessageBox& box) {
        Step step = steps_.front();
        steps_.pop_front();
        polls_on_same_ = 0;
        boxes.push_back((box.windowTitle() + ": " + box.text()).toStdString());
        EXPECT_TRUE(box.text().startsWith(step.name)) << boxes.back();
        if (step.answer == Answer::click_yes && box.button(QMessageBox::Yes))
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        else
            QTest::keyClick(&box, Qt::Key_Return);
    }

    // The name's completer can swallow the first Enter; a dialog still up gets another one.
    void answer_file_dialog(QFileDialog& dialog) {
        // Taken off first: accepting may open a box (answered by the next step) before it returns.
        Step step = steps_.front();
        steps_.pop_front();
        polls_on_same_ = 0;
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name || step.answer == Answer::press_enter || step.answer == Answer::click_yes) {
            ADD_FAILURE() << "a file dialog where a box was expected";
            return dialog.reject();
        }
        if (name->text() != step.name) {
            name->clear();
            QTest::keyClicks(name, step.name);
        }
        if (step.answer == Answer::type_and_click_open) {
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            QPushButton* open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            ASSERT_TRUE(open);
            QTest::mouseClick(open, Qt::LeftButton);
        } else {
            QTest::keyClick(name, Qt::Key_Return);
        }
        if (dialog.isVisible())
            steps_.push_front(step);
    }

    QTimer timer_;
    std::deque<Step> steps_;
    int polls_on_same_ = 0;
    bool pending_ = false;
};

class UserJourneyTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        old_folder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.root().string()));
        install_message_sink(&gui_sink_);
        install_file_picker(&picker_);
        window_ = std::make_unique<MainWindow>();
        presenter_.set_owner(window_.get());
        picker_.set_owner(window_.get());
        window_->show();
        window_->activateWindow(); // what a window manager does for a new window
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        while (!window_->model_view()->isValid())
            QTest::qWait(10);
    }
    void TearDown() override {
        window_.reset();
        install_file_picker(nullptr);
        install_message_sink(&sink);
        QDir::setCurrent(old_folder_);
        CoreTest::TearDown();
    }

    // Opens the menus along path with the mouse and clicks the last item.
    void choose(std::initializer_list<const char*> path) {
        QMenuBar* bar = window_->menuBar();
        QList<QAction*> actions = bar->actions();
        QWidget* owner = bar;
        for (const char* text : path) {
            QAction* action = nullptr;
            for (QAction* a : actions)
                if (a->text() == QLatin1String(text))
                    action = a;
            if (!action && owner == bar) { // "Reload" sits at the bar's right end
                auto* button = qobject_cast<QToolButton*>(bar->cornerWidget());
                ASSERT_TRUE(button && button->text() == QLatin1String(text)) << text;
                QTest::mouseClick(button, Qt::LeftButton);
                break;
            }
            ASSERT_TRUE(action) << text;
            QRect place = owner == bar ? bar->actionGeometry(action)
                                       : static_cast<QMenu*>(owner)->actionGeometry(action);
            QTest::mouseClick(owner, Qt::LeftButton, {}, place.center());
            if (QMenu* menu = action->menu()) {
                ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
                owner = menu;
                actions = menu->actions();
            }
        }
        settle();
    }
    void press(Qt::Key key) {
        QTest::keyClick(window_->windowHandle(), key);
        settle();
    }
    void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(5);
        }
    }
    QColor centre() {
        QImage image = window_->model_view()->grabFramebuffer();
        return image.pixelColor(image.width() / 2, image.height() / 2 - 20);
    }
    int lit_pixels() {
        QImage image = window_->model_view()->grabFramebuffer();
        int n = 0;
        for (int y = 0; y < image.height() - 24; ++y) // above the status caption
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) != QColor(0, 0, 0);
        return n;
    }
    static bool is_model_red(QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; }

    // A trueSpace file to import: a real one from the shared folder when present.
    std::string trueSpace_file() {
        fs::path real = shared_testdata_folder() / "cob" / "dwarf.cob";
        if (fs::exists(real)) {
            fs::copy_file(real, dir.root() / "dwarf.cob");
        } else {
            CobBuilder cob;
            uint32_t group = cob.grou("dwarf", {0, 0, 0});
            // Both sides, so the square shows from the start orientation with culling on.
            cob.polh(cob_single_face({{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}}),
                     group);
            cob.polh(cob_single_face({{-10, 10, 0}, {10, 10, 0}, {10, -10, 0}, {-10, -10, 0}}),
                     group);
            cob.mat1({0, 0.9f, 0.2f, 0.1f, {}});
            cob.end();
            dir.write("dwarf.cob", cob.bytes());
        }
        return "dwarf.cob";
    }

    ModalAnswerer answers;

  private:
    QString old_folder_;
    QtBoxPresenter presenter_;
    QtFilePicker picker_;
    GuiMessageSink gui_sink_{presenter_};
    std::unique_ptr<MainWindow> window_;
};

TEST_F(UserJourneyTest, LoadHogStepLoadOofAndReloadThroughTheRealDialogs) {
    dir.write("demo.hog",
              build_hog({{"first.oof", square_model()}, {"second.oof", square_model()}}));
    answers.expect(Answer::type_and_enter, "demo.hog");
    choose({"File", "Load Hog"});
    EXPECT_EQ(status_caption_text(), " 1/2 : first.oof");
    EXPECT_TRUE(is_model_red(centre()));

    press(Qt::Key_N); // the keys work without a click into the picture first
    EXPECT_EQ(status_caption_text(), " 2/2 : second.oof");

    dir.write("square.oof", square_model());
    answers.expect(Answer::type_and_click_open, "square.oof");
    choose({"File", "Load Oof"});
    EXPECT_EQ(status_caption_text(), " square.oof") << "cut at the last '/'";
    EXPECT_TRUE(is_model_red(centre()));
    EXPECT_TRUE(answers.done());
}

TEST_F(UserJourneyTest, ImportsAndExportsThroughTheRealDialogsReadBack) {
    answers.expect(Answer::type_and_enter, QString::fromStdString(trueSpace_file()));
    choose({"File", "Import", "Cob/Scn"});
    ASSERT_EQ(view.model_loaded, 1);
    uint32_t polygons = model.num_polygons;
    int lit = lit_pixels();
    EXPECT_GT(lit, 100);

    // Reload reads the imported file again.
    press(Qt::Key_Right);
    choose({"Reload"});
    EXPECT_EQ(model.num_polygons, polygons);

    answers.expect(Answer::type_and_enter, "dwarf.oof");
    choose({"File", "Export", "Oof"});
    answers.expect(Answer::type_and_enter, "dwarf.oof");
    choose({"File", "Load Oof"});
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_EQ(status_caption_text(), " dwarf.oof");
    EXPECT_EQ(lit_pixels(), lit) << "the export draws as the import did";

    // The save dialog asks before replacing a file.
    dir.write("room.orf", {});
    answers.expect(Answer::type_and_enter, "room.orf");
    answers.expect(Answer::click_yes, "room.orf already exists");
    choose({"File", "Export", "Orf"});
    answers.expect(Answer::type_and_enter, "room.orf");
    choose({"File", "Import", "Orf"});
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_GT(lit_pixels(), 100);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(answers.boxes.size(), 1u);
}

TEST_F(UserJourneyTest, ALoadThatShowsAnInfoBoxOnTheWayIsDrawn) {
    OofPolygon poly{.normal = {0, 0, 1},
                    .n_txtr = 1,
                    .texture = 0,
                    .corners = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}};
    OofPolygon three_slots = poly; // read with its one texture index, never drawn
    three_slots.n_txtr = 3;
    OofPolygon back = poly; // seen from behind at the start orientation
    back.normal = {0, 0, -1};
    back.corners = {{3, 0, 1}, {2, 1, 1}, {1, 1, 0}, {0, 0, 0}};
    OofSubobject sobj{.name = std::string("s") + '\0',
                      .props = std::string(1, '\0'),
                      .positions = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}},
                      .normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
                      .alphas = {1, 1, 1, 1},
                      .polygons = {poly, back, three_slots}};
    dir.write("stripes.ogf", green_texture());
    dir.write("three.oof",
              build_oof(2300, {oof_txtr({std::string("stripes") + '\0'}),
                               oof_ohdr(1, 15, {-10, -10, 0}, {10, 10, 0}), oof_sobj(sobj, 2300)}));
    answers.expect(Answer::type_and_enter, "three.oof");
    answers.expect(Answer::press_enter, "n_txtr > 1...");
    choose({"File", "Load Oof"});
    EXPECT_EQ(view.model_loaded, 1);
    QColor textured = centre(); // uploaded after the box's own event loop
    EXPECT_TRUE(textured.green() > 150 && textured.red() < 60) << textured.name().toStdString();
    EXPECT_TRUE(answers.done());
}

} // namespace
