// The command line of one command: options (long, short, with or without a value) and the
// positional arguments, checked against the options the command knows.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

constexpr int EXIT_FAILED = 1; // a file could not be written, a batch entry failed, ...
constexpr int EXIT_USAGE = 2;  // the command line itself is wrong

struct OptionRule {
    const char* name;       // long form without the dashes, e.g. "size"
    char short_name;        // e.g. 'o', or 0 for none
    const char* value_name; // e.g. "WxH", or nullptr for a switch
};

// Bad usage: the message is printed with a pointer to --help, and the program ends with 2.
struct UsageError {
    std::string message;
};

// A command that cannot go on: the message is printed and the program ends with status.
struct CommandFailure {
    std::string message;
    int status = EXIT_FAILED;
};

class Args {
  public:
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    // The option's value, or fallback when it was not given.
    std::string value(const std::string& name, const std::string& fallback = "") const;
    const std::vector<std::string>& positional() const { return positional_; }

  private:
    friend Args parse_args(std::span<char* const>, std::span<const OptionRule>);
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

// Parses the arguments after the command name. "--help" and "-h" are always known; "--"
// ends the options. Throws UsageError for an unknown option or a missing value.
Args parse_args(std::span<char* const> words, std::span<const OptionRule> rules);

// "WxH" with both parts from 1 to 16384.
struct Size2 {
    int width;
    int height;
};
Size2 parse_size(const std::string& text, const char* option);

// A whole number from 0 to max; throws UsageError naming the option otherwise.
long parse_count(const std::string& text, const char* option, long max);
