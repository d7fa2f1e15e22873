// The main window: start state, menu 101, the open sequences, Next/Previous/Refresh/Reload,
// the boxes of the Help menu and the modeless windows' host.
#include <QDragEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "tools/hog_builder.h"
#include "ui/platform/qt_dialog.h"
#include "ui/status_text.h"
#include "ui/templates.h"
#include "ui/window/model_view.h"

namespace {

class MainWindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        open_window();
    }
    // An archive of three polymodels around a texture entry.
    std::string three_models() {
        return dir.write("ships.hog", build_hog({{"m1.oof", square_model()},
                                                 {"m2.oof", square_model()},
                                                 {"stripes.ogf", green_texture()},
                                                 {"m3.oof", square_model()}}));
    }
    bool checked(int id) { return window->menu_action(id)->isChecked(); }
    // A menu's rows, "-" for a separator and "name>" for a sub-menu.
    static QStringList rows(const QList<QAction*>& actions) {
        QStringList texts;
        for (QAction* a : actions)
            texts << (a->isSeparator() ? QStringLiteral("-")
                                       : a->text() + (a->menu() ? QStringLiteral(">") : ""));
        return texts;
    }
};

TEST_F(MainWindowTest, StartsAsMeshlookWithTheMenuInDisplayOrder) {
    EXPECT_EQ(window->windowTitle(), "Meshlook");
    EXPECT_EQ(window->size(), QSize(400, 400));
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    EXPECT_FALSE(window->windowIcon().isNull());
    auto* reload = qobject_cast<QToolButton*>(window->menuBar()->cornerWidget(Qt::TopRightCorner));
    ASSERT_NE(reload, nullptr);
    EXPECT_EQ(reload->defaultAction(), window->menu_action(CMD_RELOAD));
    EXPECT_EQ(reload->text(), "Reload");

    QList<QAction*> bar = window->menuBar()->actions();
    EXPECT_EQ(rows(bar), QStringList({"File>", "View>", "Options>", "Tool>", "Help>"}));
    std::vector<QStringList> menus = {
        {"Import>", "Export>", "-", "Load Oof", "Load Hog", "-", "Exit"},
        {"Next", "Previous", "-", "-", "Right", "Left", "Up", "Down"},
        {"View Settings", "-", "Line Poly", "Size2Poly", "Cull Face", "Color", "Smooth",
         "Background>"},
        {"Edit Window"},
        {"About", "Polymodel Info"}};
    for (size_t i = 0; i < menus.size() && i < size_t(bar.size()); ++i)
        EXPECT_EQ(rows(bar[i]->menu()->actions()), menus[i]) << i;
    QList<QAction*> file = bar[0]->menu()->actions();
    EXPECT_EQ(rows(file[0]->menu()->actions()), QStringList({"Cob/Scn", "Orf"}));
    EXPECT_EQ(rows(file[1]->menu()->actions()), QStringList({"Oof", "Orf"}));

    for (int id : {CMD_LINE_POLY, CMD_SIZE2POLY, CMD_CULL_FACE, CMD_COLOR, CMD_SMOOTH})
        EXPECT_TRUE(checked(id)) << id;
    for (int id : {CMD_RED, CMD_GREEN, CMD_BLUE, CMD_VIEW_SETTINGS, CMD_EDIT_WINDOW})
        EXPECT_FALSE(checked(id)) << id;
    EXPECT_FALSE(window->menu_action(CMD_POLYMODEL_INFO)->isEnabled());
}

TEST_F(MainWindowTest, WithoutAModelStepsCancelsAndRequestsChangeNothing) {
    view.refresh_only = 1; // a dialog switch clicked before any load
    view.selection_changed = 1;
    for (int id : {CMD_REFRESH, CMD_NEXT, CMD_PREVIOUS, CMD_RELOAD, CMD_POLYMODEL_INFO, 40002,
                   40099, CMD_LOAD_OOF}) // the scripted dialog cancels Load Oof
        window->command(id);
    command_with_file(CMD_LOAD_HOG, dir.path("missing.hog"));
    EXPECT_EQ(view.refresh_only, 0);
    EXPECT_EQ(view.selection_changed, 0);
    EXPECT_EQ(view.model_loaded, 0);
    EXPECT_STREQ(hog.hog_path, "");
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(view.rot_x, START_ROT);
    window->resize(300, 200);
    settle();
    EXPECT_EQ(view.view_height, window->model_view()->height());
}

TEST_F(MainWindowTest, LoadHogShowsTheFirstModelAndStepsWithoutWrapping) {
    view.zoom_locked = 1;
    command_with_file(CMD_LOAD_HOG, three_models());
    ASSERT_EQ(view.model_loaded, 1);
    EXPECT_EQ(hog.num_oof, 3u);
    EXPECT_EQ(view.zoom_locked, 0);
    EXPECT_EQ(status_caption_text(), " 1/3 : m1.oof");
    EXPECT_TRUE(window->menu_action(CMD_POLYMODEL_INFO)->isEnabled());

    window->command(CMD_RIGHT);
    window->command(CMD_NEXT);
    EXPECT_EQ(view.rot_y, START_ROT); // every new load puts back the start orientation
    window->command(CMD_NEXT);
    EXPECT_EQ(status_caption_text(), " 3/3 : m3.oof");
    window->command(CMD_NEXT);
    EXPECT_EQ(view.cur_hog_oof, 2u);
    window->command(CMD_PREVIOUS);
    window->command(CMD_PREVIOUS);
    EXPECT_EQ(status_caption_text(), " 1/3 : m1.oof");
    window->command(CMD_DOWN);
    window->command(CMD_PREVIOUS); // a plain step back, not a refresh
    EXPECT_EQ(view.cur_hog_oof, 0u);
    EXPECT_EQ(view.rot_x, 35.0f); // nothing reloaded
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(MainWindowTest, AnArchiveWithoutModelsKeepsTheModelShownAndReloadable) {
    command_with_file(CMD_LOAD_HOG, three_models());
    window->command(CMD_NEXT);
    uint32_t polygons = model.num_polygons;
    std::string empty = dir.write("empty.hog", build_hog({{"stripes.ogf", green_texture()}}));
    command_with_file(CMD_LOAD_HOG, empty);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].caption, "Info");
    EXPECT_EQ(sink.boxes[0].text, "This Hog has no Oof files");
    EXPECT_EQ(model.num_polygons, polygons);
    EXPECT_EQ(status_caption_text(), " 2/3 : m2.oof");
    EXPECT_EQ(hog.num_oof, 0u);
    EXPECT_EQ(std::string(hog.hog_path), empty);
    // The old list position names nothing in the new archive: reading it would end the run.
    EXPECT_NO_THROW(window->command(CMD_RELOAD));
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST_F(MainWindowTest, LoadOofLeavesArchiveModeAndCaptionsThePath) {
    command_with_file(CMD_LOAD_HOG, three_models());
    std::string loose = dir.write("loose.oof", square_model());
    command_with_file(CMD_LOAD_OOF, loose);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(hog.num_entries, 0u);
    EXPECT_EQ(status_caption_text(), " loose.oof");
    // Previous with a loose file does nothing, a Refresh request still acts.
    view.rot_x = 5;
    window->command(CMD_PREVIOUS);
    EXPECT_EQ(view.rot_x, 5.0f);
    view.refresh_only = 1;
    window->command(CMD_REFRESH);
    EXPECT_EQ(view.refresh_only, 0);
    EXPECT_EQ(view.rot_x, 5.0f);
}

TEST_F(MainWindowTest, RefreshReadsItsThreeRequestFlags) {
    command_with_file(CMD_LOAD_HOG, three_models());
    view.rot_x = 12;
    view.zoom_locked = 1;
    view.cur_hog_oof = 2;
    view.hog_pick_pending = 1;
    window->command(CMD_REFRESH);
    EXPECT_EQ(status_caption_text(), " 3/3 : m3.oof"); // the picked model, not one before
    EXPECT_EQ(view.hog_pick_pending, 0);
    EXPECT_EQ(view.rot_x, START_ROT);
    EXPECT_EQ(view.zoom_locked, 0);

    // A selection change rebuilds without reloading: the store keeps its edits.
    view.rot_x = 12;
    model.sobj_name[0][0] = 'Q';
    view.selection_changed = 1;
    window->command(CMD_REFRESH);
    EXPECT_EQ(view.selection_changed, 0);
    EXPECT_EQ(view.rot_x, 12.0f);
    EXPECT_EQ(model.sobj_name[0][0], 'Q');

    // Reload reads the model again but keeps orientation and a manual zoom.
    view.zoom_locked = 1;
    view.zoom = 77;
    window->command(CMD_RELOAD);
    EXPECT_NE(model.sobj_name[0][0], 'Q');
    EXPECT_EQ(view.rot_x, 12.0f);
    EXPECT_EQ(view.zoom, 77.0f);
    EXPECT_EQ(view.cur_hog_oof, 2u);
}

TEST_F(MainWindowTest, SwitchCommandsToggleTheirFlagAndCheckMark) {
    std::pair<int, int32_t*> switches[] = {
        {CMD_LINE_POLY, &view.fill_poly}, {CMD_SIZE2POLY, &view.size_to_poly},
        {CMD_CULL_FACE, &view.cull_face}, {CMD_COLOR, &view.show_textures},
        {CMD_SMOOTH, &view.smooth},       {CMD_RED, &view.bg_red},
        {CMD_GREEN, &view.bg_green},      {CMD_BLUE, &view.bg_blue}};
    for (auto [id, flag] : switches) {
        int32_t before = *flag;
        for (int32_t expected : {int32_t(!before), before}) {
            window->menu_action(id)->trigger();
            EXPECT_EQ(*flag, expected) << id;
            EXPECT_EQ(checked(id), expected != 0) << id;
        }
    }
    window->command(CMD_GREEN);
    EXPECT_EQ(view.clear_green, 1.0f);
    EXPECT_EQ(view.clear_red, 0.0f);
    view.zoom_locked = 1;
    window->command(CMD_SIZE2POLY);
    EXPECT_EQ(view.zoom_locked, 0);
}

TEST_F(MainWindowTest, HelpBoxesNameTheProgramAndTheModel) {
    window->command(CMD_ABOUT);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].text, std::string("Meshlook\nVersion ") + MESHLOOK_VERSION);
    std::string ships = three_models();
    command_with_file(CMD_LOAD_HOG, ships);
    window->command(CMD_NEXT);
    window->command(CMD_POLYMODEL_INFO);
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[1].caption, "Oof Information");
    EXPECT_EQ(sink.boxes[1].text, ships + "\n  2/3 Oof Name: m2.oof\nTotal Vertices 4\n"
                                          "Total Polygons 2\nTotal Textures 0\nTotal Sobj 1\n\n");
}

TEST_F(MainWindowTest, ModelessWindowsOpenAndCloseThroughTheirCommandsAndExit) {
    window->command(CMD_VIEW_SETTINGS);
    ASSERT_EQ(view.view_settings_open, 1);
    QPointer<QtDialog> settings(static_cast<QtDialog*>(view.view_settings_window));
    ASSERT_FALSE(settings.isNull());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(settings));
    EXPECT_EQ(settings->windowTitle(), "View Settings");
    EXPECT_TRUE(checked(CMD_VIEW_SETTINGS));
    settings->close(); // the close box sends 40023
    settle();
    EXPECT_EQ(view.view_settings_open, 0);
    EXPECT_FALSE(checked(CMD_VIEW_SETTINGS));
    EXPECT_EQ(view.view_settings_window, nullptr);
    EXPECT_TRUE(settings.isNull());

    window->command(CMD_EDIT_WINDOW);
    auto* edit = static_cast<QtDialog*>(view.edit_window);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->windowTitle(), "Edit Window");
    EXPECT_NE(edit->control(1109), nullptr);
    EXPECT_TRUE(checked(CMD_EDIT_WINDOW));
    window->command(CMD_EDIT_WINDOW);
    EXPECT_EQ(view.edit_window_open, 0);
    EXPECT_FALSE(checked(CMD_EDIT_WINDOW));

    window->command(CMD_VIEW_SETTINGS);
    window->command(CMD_EXIT);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(view.view_settings_window, nullptr);
}

TEST_F(MainWindowTest, AFileDroppedOnTheWindowOpensAsItsMenuCommandWould) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(three_models()))});
    QPoint middle = window->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(status_caption_text(), " 1/3 : m1.oof");
    EXPECT_TRUE(window->menu_action(CMD_POLYMODEL_INFO)->isEnabled());
    settle();
    QImage image = frame();
    QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    EXPECT_GT(centre.red(), 150) << "the square is drawn";

    QMimeData two;
    two.setUrls({QUrl::fromLocalFile("/a.oof"), QUrl::fromLocalFile("/b.oof")});
    QDragEnterEvent refused(middle, Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted()) << "one file at a time";
}

} // namespace
