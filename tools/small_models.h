// Small model files for the command-line tests: a square facing the front view and a two-group
// trueSpace file.
#pragma once

#include <cstdint>
#include <vector>

// A .oof of one 20 x 20 square facing the viewer of the front view, flat coloured or textured
// with "paint".
std::vector<uint8_t> oof_square_model(uint8_t red, uint8_t green, uint8_t blue,
                                      bool textured = false);

// A binary trueSpace file of two groups, "body" (a square) and its child "fin" (a triangle
// textured with maps\fin.bmp), then a chunk of `unknown_bytes` of a kind the importer skips.
std::vector<uint8_t> cob_two_group_model(uint32_t unknown_bytes = 0);
