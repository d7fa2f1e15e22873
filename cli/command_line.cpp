// Parsing a command's options and arguments.
#include "cli/command_line.h"

#include <cerrno>
#include <cstdlib>

namespace {

const OptionRule help_option{"help", 'h', nullptr};

const OptionRule* find_long(std::span<const OptionRule> rules, const std::string& name) {
    if (name == help_option.name)
        return &help_option;
    for (const OptionRule& rule : rules)
        if (name == rule.name)
            return &rule;
    return nullptr;
}

const OptionRule* find_short(std::span<const OptionRule> rules, char name) {
    if (name == help_option.short_name)
        return &help_option;
    for (const OptionRule& rule : rules)
        if (rule.short_name != 0 && rule.short_name == name)
            return &rule;
    return nullptr;
}

} // namespace

std::string Args::value(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

Args parse_args(std::span<char* const> words, std::span<const OptionRule> rules) {
    Args args;
    bool options_ended = false;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (options_ended || word == "-" || word.size() < 2 || word[0] != '-') {
            args.positional_.push_back(word);
            continue;
        }
        if (word == "--") {
            options_ended = true;
            continue;
        }
        bool is_long = word[1] == '-';
        std::string name = is_long ? word.substr(2, word.find('=') - 2) : word.substr(1, 1);
        const OptionRule* rule = is_long ? find_long(rules, name) : find_short(rules, word[1]);
        if (!rule)
            throw UsageError{"unknown option " + word};
        // The value follows "=", sits in the same word ("-s256") or is the next word.
        std::string inline_value;
        bool has_inline = false;
        if (is_long && word.find('=') != std::string::npos) {
            inline_value = word.substr(word.find('=') + 1);
            has_inline = true;
        } else if (!is_long && word.size() > 2) {
            inline_value = word.substr(2);
            has_inline = true;
        }
        if (!rule->value_name) {
            if (has_inline)
                throw UsageError{"option --" + std::string(rule->name) + " takes no value"};
            args.values_[rule->name] = "";
        } else if (has_inline) {
            args.values_[rule->name] = inline_value;
        } else if (i + 1 < words.size()) {
            args.values_[rule->name] = words[++i];
        } else {
            throw UsageError{"option --" + std::string(rule->name) + " needs a value (" +
                             rule->value_name + ")"};
        }
    }
    return args;
}

long parse_count(const std::string& text, const char* option, long max) {
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || n < 0 || n > max)
        throw UsageError{std::string("--") + option + " wants a whole number from 0 to " +
                         std::to_string(max) + ", not \"" + text + "\""};
    return n;
}

Size2 parse_size(const std::string& text, const char* option) {
    constexpr long MAX_SIDE = 16384;
    size_t x = text.find_first_of("xX");
    Size2 size{0, 0};
    try {
        if (x == std::string::npos)
            throw UsageError{};
        size.width = int(parse_count(text.substr(0, x), option, MAX_SIDE));
        size.height = int(parse_count(text.substr(x + 1), option, MAX_SIDE));
    } catch (const UsageError&) {
        size = {0, 0};
    }
    if (size.width < 1 || size.height < 1)
        throw UsageError{std::string("--") + option + " wants WIDTHxHEIGHT in pixels (1 to " +
                         std::to_string(MAX_SIDE) + "), not \"" + text + "\""};
    return size;
}
