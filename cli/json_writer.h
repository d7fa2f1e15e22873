// A small JSON writer: objects and arrays indented two spaces a level, short arrays of numbers
// on one line, strings escaped, numbers that JSON cannot hold (NaN, infinities) as null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "state/vec3.h"

class JsonWriter {
  public:
    void begin_object();
    void end_object();
    void begin_array();
    void end_array();
    // The member name of the next value inside an object.
    void key(std::string_view name);

    void string(std::string_view text);
    void number(float value);
    void integer(int64_t value);
    void boolean(bool value);
    void null();
    // [x, y, z] on one line.
    void vec3(Vec3 v);

    // The document, ending with a newline once the outermost value is closed.
    const std::string& text() const { return out_; }

  private:
    void before_value();
    void newline();

    std::string out_;
    int depth_ = 0;
    bool first_in_level_ = true;
    bool after_key_ = false;
};
