// File selection: titles, filters and start folder of the real dialog; cancel; a path too long
// for the 256-byte result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <cstring>

#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "ui/file_dialogs.h"
#include "ui/platform/qt_file_picker.h"
#include "ui/script.h"

namespace {

struct SeenDialog {
    std::string title;
    QStringList filters;
    QStringList shown_filters;
    std::string folder;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode file_mode = QFileDialog::AnyFile;
};

// Types `answer` into the open file dialog and accepts it, as a person would. (selectFile
// leaves the name field alone while it has the focus.) A dialog that does not close is
// rejected with a failure rather than left hanging.
void accept_answer(const QString& answer, int tries = 20) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    if (tries == 0) {
        ADD_FAILURE() << "the file dialog did not take " << answer.toStdString();
        dialog->reject();
        return;
    }
    QFileInfo file(answer);
    dialog->setDirectory(file.absolutePath());
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(file.fileName());
    QMetaObject::invokeMethod(dialog, "accept");
    QTimer::singleShot(50, [answer, tries] { accept_answer(answer, tries - 1); });
}

// Looks at the modal dialog once it is up (polling, so a slow start cannot leave it open), then
// cancels it or accepts `answer`.
void inspect_next_dialog(SeenDialog& seen, const QString& answer = {}, int tries = 250) {
    QTimer::singleShot(20, [&seen, answer, tries] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0)
                inspect_next_dialog(seen, answer, tries - 1);
            else
                ADD_FAILURE() << "no file dialog appeared";
            return;
        }
        seen.title = dialog->windowTitle().toStdString();
        seen.filters = dialog->nameFilters();
        if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                seen.shown_filters << combo->itemText(i);
        seen.folder = dialog->directory().absolutePath().toStdString();
        seen.mode = dialog->acceptMode();
        seen.file_mode = dialog->fileMode();
        if (answer.isEmpty()) {
            dialog->reject();
        } else {
            accept_answer(answer);
        }
    });
}

class FileDialogTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        install_file_picker(&qt_picker);
    }
    void TearDown() override {
        install_file_picker(nullptr);
        CoreTest::TearDown();
    }
    QtFilePicker qt_picker;
};

TEST_F(FileDialogTest, OpenDialogShowsTitleFiltersAndTheCurrentFolder) {
    SeenDialog seen;
    inspect_next_dialog(seen);
    std::strcpy(view.file_dialog_result, "old");
    view.file_dialog_result[0] = '\0';
    choose_open_file(3);
    EXPECT_EQ(seen.title, "Open File");
    EXPECT_EQ(seen.shown_filters, QStringList({"Truspace file", "All Files (*.*)"}));
    EXPECT_EQ(seen.filters.value(0), "Truspace file (*.cob *.scn)");
    EXPECT_EQ(seen.folder, QDir::currentPath().toStdString());
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.file_mode, QFileDialog::ExistingFile);
    // Cancelled: empty result and no message.
    EXPECT_STREQ(view.file_dialog_result, "");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(FileDialogTest, SaveDialogAcceptsANewNameInAnExistingFolderAndEntersIt) {
    SeenDialog seen;
    QDir().mkpath(QString::fromStdString(dir.path("out")));
    std::string target = dir.path("out/new.orf");
    inspect_next_dialog(seen, QString::fromStdString(target));
    choose_save_file(4);
    EXPECT_EQ(seen.title, "Select Output File");
    EXPECT_EQ(seen.shown_filters, QStringList({"Orf file", "All Files (*.*)"}));
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_STREQ(view.file_dialog_result, target.c_str());
    EXPECT_EQ(QDir::currentPath().toStdString(), dir.path("out"));
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(FileDialogTest, EveryKindOffersItsPatternThenAllFiles) {
    const char* own[] = {"*.oof", "*.hog", "*.cob;*.scn", "*.orf"};
    for (int kind = 1; kind <= 4; ++kind) {
        auto filters = file_filters(kind);
        ASSERT_EQ(filters.size(), 2u);
        EXPECT_STREQ(filters[0].pattern, own[kind - 1]);
        EXPECT_STREQ(filters[1].description, "All Files (*.*)");
        EXPECT_STREQ(filters[1].pattern, "*.*");
    }
}

TEST_F(FileDialogTest, APathThatDoesNotFitIsRefusedWithAWarning) {
    ScriptedFilePicker picker;
    install_file_picker(&picker);
    std::string longest_fitting = "/" + std::string(254, 'a');
    picker.push(longest_fitting);
    choose_open_file(1);
    EXPECT_EQ(view.file_dialog_result, longest_fitting);
    EXPECT_TRUE(sink.boxes.empty());

    picker.push("/" + std::string(255, 'a'));
    choose_save_file(1);
    EXPECT_STREQ(view.file_dialog_result, "");
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].caption, "WARNING");
    EXPECT_EQ(sink.boxes[0].text, "GetOpenFileName returned Error #12291");
    EXPECT_EQ(sink.boxes[0].icon, BoxIcon::error);
    install_file_picker(nullptr);
}

} // namespace
