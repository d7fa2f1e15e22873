// Floats as text for the JSON and OBJ writers.
#pragma once

#include <string>

// The shortest text that reads back to the same float ("0.2", "1e+20", "-0").
std::string float_text(float value);
