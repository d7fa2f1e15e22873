// The JSON writer.
#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

#include "cli/float_text.h"

namespace {

void escape_into(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c >= 0x7F) {
            // Names in model files are bytes of an unknown code page; each byte outside
            // printable ASCII stands for itself as a code point, so the text stays valid.
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += char(c);
        }
    }
    out += '"';
}

} // namespace

void JsonWriter::newline() {
    out_ += '\n';
    out_.append(size_t(depth_) * 2, ' ');
}

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (depth_ == 0)
        return;
    if (!first_in_level_)
        out_ += ',';
    first_in_level_ = false;
    newline();
}

void JsonWriter::begin_object() {
    before_value();
    out_ += '{';
    ++depth_;
    first_in_level_ = true;
}

void JsonWriter::end_object() {
    --depth_;
    if (!first_in_level_)
        newline();
    out_ += '}';
    first_in_level_ = false;
    if (depth_ == 0)
        out_ += '\n';
}

void JsonWriter::begin_array() {
    before_value();
    out_ += '[';
    ++depth_;
    first_in_level_ = true;
}

void JsonWriter::end_array() {
    --depth_;
    if (!first_in_level_)
        newline();
    out_ += ']';
    first_in_level_ = false;
    if (depth_ == 0)
        out_ += '\n';
}

void JsonWriter::key(std::string_view name) {
    before_value();
    escape_into(out_, name);
    out_ += ": ";
    after_key_ = true;
}

void JsonWriter::string(std::string_view text) {
    before_value();
    escape_into(out_, text);
}

void JsonWriter::number(float value) {
    before_value();
    out_ += std::isfinite(value) ? float_text(value) : "null";
}

void JsonWriter::integer(int64_t value) {
    before_value();
    out_ += std::to_string(value);
}

void JsonWriter::boolean(bool value) {
    before_value();
    out_ += value ? "true" : "false";
}

void JsonWriter::null() {
    before_value();
    out_ += "null";
}

void JsonWriter::vec3(Vec3 v) {
    before_value();
    out_ += '[';
    const float parts[3] = {v.x, v.y, v.z};
    for (int i = 0; i < 3; ++i) {
        if (i)
            out_ += ", ";
        out_ += std::isfinite(parts[i]) ? float_text(parts[i]) : "null";
    }
    out_ += ']';
}
