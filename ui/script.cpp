// Script parsing, scripted file dialogs and logged boxes of the unattended run.
#include "ui/script.h"

#include <cstdio>
#include <sstream>

std::string ScriptedFilePicker::pick(FileDialogMode, const char*, std::span<const FileFilter>) {
    if (paths_.empty())
        return {};
    std::string path = std::move(paths_.front());
    paths_.pop_front();
    return path;
}

void LoggingBoxPresenter::present(const char* caption, const char* text, BoxIcon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
}

std::vector<ScriptStep> parse_script(const std::string& text) {
    std::vector<ScriptStep> steps;
    std::stringstream all(text);
    std::string item;
    while (std::getline(all, item, ';')) {
        std::stringstream words(item);
        std::string first;
        if (!(words >> first))
            continue;
        ScriptStep step;
        if (first == "quit") {
            step.quit = true;
        } else {
            try {
                step.command = std::stoi(first);
            } catch (...) {
                continue;
            }
            std::getline(words >> std::ws, step.path);
        }
        steps.push_back(step);
    }
    return steps;
}
