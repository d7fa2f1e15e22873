// Small model files for the command-line and window tests: squares facing the front view, a
// model of three texture slots and trueSpace files.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A .oof of one 20 x 20 square facing the viewer of the front view, flat coloured or textured
// with "paint".
std::vector<uint8_t> oof_square_model(uint8_t red, uint8_t green, uint8_t blue,
                                      bool textured = false);

// A binary trueSpace file of two groups, "body" (a square) and its child "fin" (a triangle
// textured with maps\fin.bmp), then a chunk of `unknown_bytes` of a kind the importer skips.
std::vector<uint8_t> cob_two_group_model(uint32_t unknown_bytes = 0);

// A .oof of `subobjects` subobjects in a chain, each a flat red 20 x 20 square "square" in the
// z = 0 plane seen from both sides, and what `more` adds to the store (points, for example). The
// store is left empty.
std::vector<uint8_t> oof_panel_model(int subobjects = 1, const std::function<void()>& more = {});

// A .oof of a square textured with "stripes" and a triangle that lists three texture slots.
std::vector<uint8_t> oof_three_slot_model();

// A trueSpace 20 x 20 square seen from both sides, one face each way.
std::vector<uint8_t> cob_two_sided_square();
