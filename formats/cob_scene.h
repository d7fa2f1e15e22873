// CobScene: the trueSpace import tables that load_cob fills and convert_cob turns into the store.
#pragma once

#include <cstdint>

#include "state/vec3.h"

constexpr int COB_MAX_VERTICES = 10000;
constexpr int COB_MAX_UVS = 20000;
constexpr int COB_MAX_FACES = 10000;
constexpr int COB_MAX_FACE_POINTS = 20;
constexpr int COB_MAX_POLH = 100;
constexpr int COB_MAX_MATERIALS = 250;
constexpr int COB_MAX_GROUPS = 100;
constexpr int COB_MAX_TEXTURE_NAMES = 100;
constexpr int COB_GROUP_NAME_LEN = 30;    // with the terminator
constexpr int COB_TEXTURE_FILE_LEN = 100; // with the terminator

// A face whose flags carry no material number: it matches no Mat1 chunk.
constexpr uint32_t COB_NO_MATERIAL = 0xFFFFFFFFu;

struct CobVertex {
    Vec3 position; // after the PolH transform, in trueSpace axes
    uint32_t group;
};

struct CobUv {
    float u;
    float v;
};

struct CobFace {
    uint32_t num_points; // at most COB_MAX_FACE_POINTS
    uint32_t group;
    uint32_t polh;     // index of its PolH chunk in file order
    uint32_t material; // material number, or COB_NO_MATERIAL
    uint32_t texture;  // index into texture_files; meaningful when textured
    uint8_t red, green, blue;
    uint32_t textured;
    uint32_t material_slot;               // index into materials, for the texture parameters
    uint32_t vertex[COB_MAX_FACE_POINTS]; // counted over the whole file
    uint32_t uv[COB_MAX_FACE_POINTS];
};

struct CobMaterial {
    uint32_t number;
    float red, green, blue;
    // Texture parameters of a "t:" sub-chunk; all 0 when the material names no map.
    float u_offset, v_offset, u_repeat, v_repeat;
};

struct CobGroup {
    char name[COB_GROUP_NAME_LEN];
    Vec3 centre;    // trueSpace axes
    int32_t parent; // group index; -1 when the parent id matches no earlier group
    uint32_t chunk_id;
};

// The counts and small tables come first and the faces last, so that an ordinary scene lies in
// the table's first large page (see prefer_large_pages).
struct CobScene {
    uint32_t num_vertices;
    uint32_t num_uvs;
    uint32_t num_faces;
    uint32_t num_polh;
    uint32_t num_materials;
    uint32_t num_groups;
    uint32_t num_texture_files;
    int32_t groupless; // a PolH came before any Grou: group 0 has no chunk
    CobMaterial materials[COB_MAX_MATERIALS];
    CobGroup groups[COB_MAX_GROUPS];
    char texture_files[COB_MAX_TEXTURE_NAMES][COB_TEXTURE_FILE_LEN];
    CobVertex vertices[COB_MAX_VERTICES];
    CobUv uvs[COB_MAX_UVS];
    CobFace faces[COB_MAX_FACES];
};

extern CobScene cob_scene;
