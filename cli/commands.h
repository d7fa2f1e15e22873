// The commands of meshlook-cli: each names its usage, its help text, its options and the
// function that runs it, which returns the exit status.
#pragma once

#include <span>

#include "cli/command_line.h"

struct Command {
    const char* name;
    const char* usage; // the arguments after the command name
    const char* help;  // what it does and what each option means
    std::span<const OptionRule> options;
    int (*run)(const Args& args);
};

extern const Command info_command;
extern const Command list_command;
extern const Command extract_command;
extern const Command convert_command;
extern const Command render_command;
extern const Command thumbnail_command;

// Throws UsageError unless exactly `count` arguments were given.
void expect_arguments(const Args& args, size_t count, const char* what);
