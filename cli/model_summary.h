// Facts about the model in the store that the info command reports: bounds, per-subobject
// counts, depth in the tree, keys, and where each texture would be loaded from.
#pragma once

#include <cstdint>
#include <string>

#include "state/vec3.h"

struct ModelBounds {
    Vec3 min; // smallest x, y, z of the model-space vertices; zeros without vertices
    Vec3 max;
    float radius; // largest distance of a vertex from the model origin
};

ModelBounds model_bounds();

uint32_t sobj_vertex_count(uint32_t sobj);
uint32_t sobj_polygon_count(uint32_t sobj);

// Levels above the subobject: 0 for a root. A broken parent chain ends where it breaks, as
// when the model is drawn.
int sobj_depth(uint32_t sobj);

// The parent the subobject hangs from when drawn: -1 for a root or a broken link.
int tree_parent(uint32_t sobj);

uint32_t position_key_count();
uint32_t rotation_key_count();

struct TextureSource {
    bool found;
    std::string file; // the file name found, loose or in the loaded archive
    bool in_archive;
};

// Where the texture loader would find texture slot `slot` (the same search, no decoding).
TextureSource texture_source(uint32_t slot);

// The texture slot's name as a string (a full-length name has no terminator).
std::string texture_name(uint32_t slot);

// Number of used subobjects, vertices, polygons, textures: counts cut to their tables.
uint32_t num_sobj();
uint32_t num_textures();
