// The rows of the room texture-name table. Adding a row is adding a line here.
#include "formats/orf_texture_map.h"

namespace {

constexpr OrfTextureRow rows[] = {
    {"Rainbow Texture", "Test"},   {"rock0030.ogf1", "rock0030"}, {"Doortest.tga1", "Doortest"},
    {"Doortest.tga1", "Doortest"}, {"ganymede1", "ganymede"},     {"jupiter1", "JupiterEuropa"},
    {"CityNeon1", "Neon1"},        {"H-sky0", "H-sky1"},          {"Ref", "Ref"},
};

} // namespace

constinit const std::span<const OrfTextureRow> orf_texture_map = rows;
