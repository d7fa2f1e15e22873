// trueSpace scenes for the importer tests: material order, skipped and damaged chunks, groups,
// and files at or past each limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cob_builder.h"

// Three one-face PolHs: a green material before the first describes nothing, a red one after
// the first and a blue one after the third describe those.
std::vector<uint8_t> cob_materials_after_their_polhs();
// Unknown chunks (300-byte BitM, Unit, Chan) around a PolH whose trailer starts with "Grou",
// then a blue material.
std::vector<uint8_t> cob_unknown_chunks_skipped();
// A one-face PolH and a green material cut short inside its record; no END.
std::vector<uint8_t> cob_material_cut_short();
// A one-face PolH, then a PolH header stating 0xFFFFFFF0 bytes and nothing after it.
std::vector<uint8_t> cob_polh_stated_too_long();
// A face of material 3 and a 10-byte Mat1 for number 3 whose red is 1; the rest lies past it.
std::vector<uint8_t> cob_short_material_record();
// A map list: an environment map, a bump map, two stray bytes, then texture maps of
// c:/art/hull.tga and ignored.bmp.
std::vector<uint8_t> cob_map_list();
// One white material per file, numbered from 0, each with a texture map naming it.
std::vector<CobBuildMaterial> cob_texture_materials(const std::vector<std::string>& files);
// One textured face and n materials naming the files "t0" to "t<n-1>".
std::vector<uint8_t> cob_texture_files(uint32_t n);

// Groups "Root" (centre (1, 2, 3)), its child "Arm" ((10, 20, 30)) and Arm's child "Hand"
// ((12, 24, 36)), each with a one-face PolH over three of `written` in turn; a nameless group
// at (-1, -2, -4) naming a parent that is no group, then a PolH over the next three outside it;
// a group with a 34-byte name holding a triangle; a Mat1 and a Grou whose names state 65535
// bytes but hold "long" and "ab", then a triangle.
std::vector<uint8_t> cob_group_tree(const std::vector<Vec3>& written);

// n PolH chunks without data.
std::vector<uint8_t> cob_empty_polhs(uint32_t n);
// A triangle, then n red materials numbered 0 to n - 1.
std::vector<uint8_t> cob_materials(uint32_t n);
// A chain of n groups, each the child of the one before, the last holding a triangle.
std::vector<uint8_t> cob_group_chain(uint32_t n);
// A triangle PolH, then a group: inside no group, or inside a root group with the later group
// its child.
std::vector<uint8_t> cob_group_after_polh(bool grouped);
// A PolH of n faces, each over the same triangle.
CobBuildPolh cob_same_faces(uint32_t n);
// A triangle, then PolH chunks holding the given data.
std::vector<uint8_t> cob_polhs_of(const std::vector<std::vector<uint8_t>>& data);
