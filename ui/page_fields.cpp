// Field conversions of the Edit Window pages, independent of the process locale.
#include "ui/page_fields.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>

#include "state/view_state.h"
#include "ui/main_window_link.h"
#include "ui/templates.h"

namespace {

constexpr int VALUE_CHARS = 9;
constexpr size_t NAME_BYTES = 44;

size_t digits_at(const std::string& s, size_t i) {
    size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    return i - start;
}

// The length of the decimal number starting at i (digits, fraction, exponent), 0 if none.
size_t decimal_length(const std::string& s, size_t i) {
    size_t start = i;
    size_t whole = digits_at(s, i);
    i += whole;
    size_t fraction = 0;
    if (i < s.size() && s[i] == '.') {
        fraction = digits_at(s, i + 1);
        if (whole + fraction > 0)
            i += 1 + fraction;
    }
    if (whole + fraction == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t sign = i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
        size_t power = digits_at(s, i + 1 + sign);
        if (power > 0)
            i += 1 + sign + power;
    }
    return i - start;
}

bool negative_exponent(const std::string& number) {
    size_t e = number.find_first_of("eE");
    return e != std::string::npos && number[e + 1] == '-';
}

} // namespace

double typed_decimal(const DialogControls& controls, int id) {
    std::string text = controls.text(id, VALUE_CHARS);
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool minus = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::string number = text.substr(i, decimal_length(text, i));
    if (number.empty())
        return 0.0;
    double value = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        value = negative_exponent(number) ? 0.0 : std::numeric_limits<double>::max();
    return minus ? -value : value;
}

std::string six_decimals(double value) {
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

float take_float_field(DialogControls& controls, int id) {
    constexpr double largest = std::numeric_limits<float>::max();
    double value = std::clamp(typed_decimal(controls, id), -largest, largest);
    controls.set_text(id, six_decimals(value));
    return static_cast<float>(value);
}

void take_text_field(const DialogControls& controls, int id, char* dest, size_t size) {
    std::string text = controls.text(id, static_cast<int>(NAME_BYTES));
    size_t length = std::min({text.size(), NAME_BYTES, size - 1});
    // A UTF-8 character whose bytes do not all fit is left out.
    size_t lead = length;
    while (lead > 0 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead > 0) {
        auto first = static_cast<unsigned char>(text[lead - 1]);
        size_t bytes = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (length - (lead - 1) < bytes)
            length = lead - 1;
    }
    std::memcpy(dest, text.data(), length);
    dest[length] = '\0';
}

void show_field(DialogControls& controls, int id, const std::string& text) {
    controls.set_text(id, text);
    controls.enable(id, true);
}

void clear_field(DialogControls& controls, int id) {
    controls.set_text(id, "");
    controls.enable(id, false);
}

void request_selection() {
    view.selection_changed = 1;
    send_main_command(CMD_REFRESH);
}

void request_redraw() {
    view.refresh_only = 1;
    send_main_command(CMD_REFRESH);
}
