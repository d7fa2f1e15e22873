// What a person does with the real window: menus opened with the mouse, names typed into the
// real file dialogs, message boxes answered with the keyboard, and the model's pixels checked
// afterwards. No scripted picker and no recording sink: the dialogs and boxes are the real ones.
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <filesystem>

#include "tests/ui/ui_fixture.h"
#include "tools/texture_builder.h"
#include "ui/file_dialogs.h"
#include "ui/platform/qt_box_presenter.h"
#include "ui/platform/qt_file_picker.h"
#include "ui/window/gui_sink.h"

namespace {

namespace fs = std::filesystem;

// How a step answers the modal window it expects.
enum class Answer { type_and_enter, type_and_click_open, press_enter, click_yes };

// Answers the modal windows of a command as a person would, one step per window, polling from
// the event loop that the modal window itself runs; keeps what each window showed.
class ModalAnswerer {
  public:
    ModalAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(20);
    }
    void expect(Answer answer, const QString& name) { steps_.push_back({answer, name}); }
    bool done() const { return steps_.empty(); }
    // "title: filters" of each file dialog.
    std::vector<std::string> seen;

  private:
    struct Step {
        Answer answer;
        QString name; // typed into a file dialog; for a box, the start of its text
    };
    // The answer runs from its own single-shot timer: an answer can open the next modal
    // window (the save dialog's replace question), whose loop must still see this timer fire.
    void poll() {
        if (pending_ || !QApplication::activeModalWidget())
            return;
        pending_ = true;
        QTimer::singleShot(0, [this] {
            pending_ = false;
            answer();
        });
    }

    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!modal)
            return;
        if (steps_.empty() || ++tries_ > 250 || !(box || dialog) ||
            (box != nullptr) != (steps_.front().answer >= Answer::press_enter)) {
            ADD_FAILURE() << "unexpected or stuck modal window "
                          << modal->windowTitle().toStdString();
            return static_cast<QDialog*>(modal)->reject();
        }
        // Taken off first: accepting may open a box (answered by the next step) before it returns.
        Step step = steps_.front();
        steps_.pop_front();
        if (box) {
            tries_ = 0;
            EXPECT_TRUE(box->text().startsWith(step.name)) << box->text().toStdString();
            if (step.answer == Answer::click_yes)
                return QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            return QTest::keyClick(box, Qt::Key_Return);
        }
        if (tries_ == 1)
            seen.push_back(
                (dialog->windowTitle() + ": " + dialog->nameFilters().join(" | ")).toStdString());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        if (name->text() != step.name) {
            name->clear();
            QTest::keyClicks(name, step.name);
        }
        if (step.answer == Answer::type_and_click_open)
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open),
                Qt::LeftButton);
        else
            QTest::keyClick(name, Qt::Key_Return);
        // The name's completer can swallow the first Enter; a dialog still up gets another one.
        if (dialog->isVisible())
            steps_.push_front(step);
        else
            tries_ = 0;
    }

    QTimer timer_;
    std::deque<Step> steps_;
    int tries_ = 0;
    bool pending_ = false;
};

class UserJourneyTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        old_folder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.root().string()));
        install_message_sink(&gui_sink_);
        install_file_picker(&picker_);
        open_window();
        presenter_.set_owner(window.get());
        picker_.set_owner(window.get());
    }
    void TearDown() override {
        window.reset();
        install_message_sink(&sink);
        QDir::setCurrent(old_folder_);
        UiTest::TearDown();
    }

    // Opens the menus along path with the mouse and clicks the last item.
    void choose(std::initializer_list<const char*> path) {
        QMenuBar* bar = window->menuBar();
        QWidget* owner = bar;
        QList<QAction*> actions = bar->actions();
        for (const char* text : path) {
            auto found = std::find_if(actions.begin(), actions.end(),
                                      [text](QAction* a) { return a->text() == text; });
            ASSERT_NE(found, actions.end()) << text;
            QRect place = owner == bar ? bar->actionGeometry(*found)
                                       : static_cast<QMenu*>(owner)->actionGeometry(*found);
            QTest::mouseClick(owner, Qt::LeftButton, {}, place.center());
            if (QMenu* menu = (*found)->menu()) {
                ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
                owner = menu;
                actions = menu->actions();
            }
        }
        QTest::qWait(25);
    }
    void press(Qt::Key key) {
        QTest::keyClick(window->windowHandle(), key);
        QTest::qWait(25);
    }
    // Whether the middle of the view shows mostly red (else mostly green).
    bool centre_shows_red(bool red = true) {
        QImage image = frame();
        QColor c = image.pixelColor(image.width() / 2, image.height() / 2 - 20);
        int main = red ? c.red() : c.green(), other = red ? c.green() : c.red();
        return main > 150 && other < 90 && c.blue() < 90;
    }

    ModalAnswerer answers;

  private:
    QString old_folder_;
    QtBoxPresenter presenter_;
    QtFilePicker picker_;
    GuiMessageSink gui_sink_{presenter_};
};

TEST_F(UserJourneyTest, LoadHogStepAndLoadOofShowingAnInfoBoxThroughTheRealDialogs) {
    // In a folder of their own: choosing the model makes its folder the working folder, where
    // the texture is found. The polygon of three texture slots is read with one, not drawn.
    fs::create_directory(dir.root() / "ship");
    dir.write("ship/three.oof", oof_three_slot_model());
    dir.write("ship/stripes.ogf",
              build_ogf(make_ogf_image(4, 4, std::vector<uint16_t>(16, pack_1555(0, 255, 0)))));
    dir.write("demo.hog",
              build_hog({{"first.oof", oof_panel_model()}, {"second.oof", oof_panel_model()}}));
    answers.expect(Answer::type_and_click_open, "demo.hog");
    choose({"File", "Load Hog"});
    EXPECT_EQ(status_caption_text(), " 1/2 : first.oof");
    EXPECT_TRUE(centre_shows_red()) << "the red square";

    press(Qt::Key_N); // the keys work without a click into the picture first
    EXPECT_EQ(status_caption_text(), " 2/2 : second.oof");

    // The whole path: whatever folder the name's completer has moved the dialog into.
    answers.expect(Answer::type_and_enter, QString::fromStdString(dir.path("ship/three.oof")));
    answers.expect(Answer::press_enter, "n_txtr > 1...");
    choose({"File", "Load Oof"});
    EXPECT_TRUE(centre_shows_red(false))
        << "textured green, uploaded after the box's own event loop";
    ASSERT_TRUE(answers.done());
    EXPECT_EQ(answers.seen[0], "Open File: Hog file (*.hog) | All Files (*.*) (*)");
    EXPECT_EQ(answers.seen[1], "Open File: Oof file (*.oof) | All Files (*.*) (*)");
}

TEST_F(UserJourneyTest, ImportsAndExportsThroughTheRealDialogsReadBack) {
    // A trueSpace square seen from both sides, so it shows from the start orientation.
    dir.write("dwarf.cob", cob_two_sided_square());
    answers.expect(Answer::type_and_enter, "dwarf.cob");
    choose({"File", "Import", "Cob/Scn"});
    ASSERT_EQ(view.model_loaded, 1);
    uint32_t polygons = model.num_polygons;
    int lit = lit_pixels(frame());
    EXPECT_GT(lit, 100);

    press(Qt::Key_Right);
    auto* reload = qobject_cast<QToolButton*>(window->menuBar()->cornerWidget()); // at its end
    ASSERT_TRUE(reload && reload->text() == "Reload");
    QTest::mouseClick(reload, Qt::LeftButton); // reads the imported file again
    EXPECT_EQ(model.num_polygons, polygons);

    answers.expect(Answer::type_and_enter, "dwarf.oof");
    choose({"File", "Export", "Oof"});
    answers.expect(Answer::type_and_enter, "dwarf.oof");
    choose({"File", "Load Oof"});
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_EQ(status_caption_text(), " dwarf.oof");
    EXPECT_EQ(lit_pixels(frame()), lit) << "the export draws as the import did";

    // The save dialog asks before replacing a file.
    dir.write("room.orf", {});
    answers.expect(Answer::type_and_enter, "room.orf");
    answers.expect(Answer::click_yes, "room.orf already exists");
    choose({"File", "Export", "Orf"});
    answers.expect(Answer::type_and_enter, "room.orf");
    choose({"File", "Import", "Orf"});
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_GT(lit_pixels(frame()), 100);
    EXPECT_TRUE(answers.done());
    ASSERT_EQ(answers.seen.size(), 5u);
    EXPECT_EQ(answers.seen[0], "Open File: Truspace file (*.cob *.scn) | All Files (*.*) (*)");
    EXPECT_EQ(answers.seen[1], "Select Output File: Oof file (*.oof) | All Files (*.*) (*)");
    EXPECT_EQ(answers.seen[4], "Open File: Orf file (*.orf) | All Files (*.*) (*)");
    choose({"File", "Exit"});
    EXPECT_FALSE(window->isVisible());
}

} // namespace
