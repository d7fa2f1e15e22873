// Qt's own file dialog behind FilePicker.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/platform/file_picker.h"

// Starts in the current directory, owned by the main window, which it repaints afterwards.
// The open dialog accepts only existing files; the save dialog any name in an existing
// folder, asking before it replaces an existing file.
class QtFilePicker : public FilePicker {
  public:
    void set_owner(QWidget* owner) { owner_ = owner; }
    std::string pick(FileDialogMode mode, const char* title,
                     std::span<const FileFilter> filters) override;

  private:
    QPointer<QWidget> owner_;
};
