// Open and save file dialogs behind an interface, so tests and scripted runs can answer them.
#pragma once

#include <QWidget>
#include <span>
#include <string>

struct FileFilter {
    const char* description;
    const char* pattern; // one or more "*.ext" patterns separated by ';'
};

enum class FileDialogMode { open, save };

class FilePicker {
  public:
    virtual ~FilePicker() = default;
    // The chosen path, or "" when the user cancelled.
    virtual std::string pick(QWidget* owner, FileDialogMode mode, const char* title,
                             std::span<const FileFilter> filters) = 0;
};

// Qt's own file dialog, starting in the current directory. The open dialog accepts only
// existing files; the save dialog any name in an existing folder, asking before it replaces
// an existing file.
class QtFilePicker : public FilePicker {
  public:
    std::string pick(QWidget* owner, FileDialogMode mode, const char* title,
                     std::span<const FileFilter> filters) override;
};
