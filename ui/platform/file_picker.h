// Open and save file dialogs behind an interface, so tests and scripted runs can answer them.
#pragma once

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
    virtual std::string pick(FileDialogMode mode, const char* title,
                             std::span<const FileFilter> filters) = 0;
};
