// The Qt file dialog behind FilePicker.
#include "ui/platform/qt_file_picker.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {

// "Oof file (*.oof)"; the details are hidden, so the list shows the description alone.
// "*.*" would skip names without a dot here, so every pattern that means all files gets "*".
QString qt_filter(const FileFilter& f) {
    QString patterns = QString::fromUtf8(f.pattern).replace(';', ' ');
    if (patterns == QStringLiteral("*.*"))
        patterns = QStringLiteral("*");
    return QString::fromUtf8(f.description) + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

std::string run_dialog(QWidget* owner, FileDialogMode mode, const char* title,
                       std::span<const FileFilter> filters) {
    QFileDialog dialog(owner, QString::fromUtf8(title), QDir::currentPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList names;
    for (const FileFilter& f : filters)
        names << qt_filter(f);
    dialog.setNameFilters(names);
    if (mode == FileDialogMode::open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // asks before replacing an existing file
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

} // namespace

std::string QtFilePicker::pick(FileDialogMode mode, const char* title,
                               std::span<const FileFilter> filters) {
    std::string chosen = run_dialog(owner_, mode, title, filters);
    if (owner_)
        owner_->update(); // the owner is repainted whatever the outcome
    return chosen;
}
