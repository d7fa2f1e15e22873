// Shortest round-trip float text.
#include "cli/float_text.h"

#include <charconv>

std::string float_text(float value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
