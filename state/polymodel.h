// The Polymodel store: the one model in memory, as fixed-size tables with a count beside each.
#pragma once

#include <cstdint>

#include "state/vec3.h"

constexpr int MAX_VECT = 4000;      // vertices of the whole model
constexpr int MAX_POLY = 4000;      // polygons of the whole model
constexpr int MAX_SOBJ = 60;        // subobjects
constexpr int MAX_POLY_POINTS = 25; // corners of one polygon
constexpr int MAX_TEXTURE = 35;     // entries of the texture list
constexpr int MAX_PNT = 10;         // records of a point list, batteries, guns/turrets per battery
constexpr int MAX_ANI = 15000;      // keys of each kind; frame numbers 0..14999
constexpr int MAX_PINF = 1000;      // bytes of PINF text

constexpr int TEXTURE_NAME_LEN = 36; // texture names: 36 characters, no terminator at full length
constexpr int SOBJ_STRING_LEN = 50;  // subobject name and property string, terminated
constexpr int SPECIAL_STRING_LEN = 50;
constexpr int LOADED_FILE_LEN = 50;

struct Rgb8 {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

struct Polygon {
    uint32_t num_points; // corners, 0..MAX_POLY_POINTS
    uint32_t texture;    // texture-list index; meaningful when n_txtr != 0
    Rgb8 color;          // flat colour; meaningful when n_txtr == 0
    uint32_t n_txtr;     // textures as stored in the file; 0 = flat coloured
    uint32_t sobj;       // owning subobject
    Vec3 normal;
    uint32_t points[MAX_POLY_POINTS]; // store-wide vertex indices
    float u[MAX_POLY_POINTS];
    float v[MAX_POLY_POINTS];
};

struct TextureSlot {
    // Model side, written by the model readers. One byte beyond the 36 keeps a full-length
    // name terminated in memory.
    char name[TEXTURE_NAME_LEN + 1];
    int32_t referenced; // some polygon uses this slot
    // Load side, written by the texture loader.
    int32_t loaded;                    // gl_list holds the compiled image
    uint32_t gl_list;                  // display list whose only content is the texture image
    int32_t has_alpha;                 // some texel is transparent: drawn with blending
    char loaded_file[LOADED_FILE_LEN]; // file name the texture was found under
};

// Gun, ground, attach and NATH points: one array per field.
struct PointList {
    uint32_t submodel[MAX_PNT];
    Vec3 location[MAX_PNT];
    Vec3 direction[MAX_PNT];
};
using GunPoint = PointList;
using GroundPoint = PointList;
using AttachPoint = PointList;

struct SpecialPoint {
    char name[MAX_PNT][SPECIAL_STRING_LEN];
    char properties[MAX_PNT][SPECIAL_STRING_LEN];
    Vec3 location[MAX_PNT];
    float radius[MAX_PNT];
};

struct WeaponBattery {
    uint32_t num_guns[MAX_PNT];
    uint32_t guns[MAX_PNT][MAX_PNT]; // gun-point indices
    uint32_t num_turrets[MAX_PNT];
    uint32_t turrets[MAX_PNT][MAX_PNT]; // subobject indices
};

// "$facing": angle first, then axis, one record per subobject.
struct FacingRecord {
    float facing_angle; // degrees to +Z, rounded down to a multiple of 0.001
    Vec3 facing_axis;
};

// "$glow=": four consecutive floats, handed to GL as one emission colour.
struct GlowRecord {
    float glow_color[3];
    float glow_amount; // fourth number times 10
};

struct Polymodel {
    // Vertices, indexed store-wide. Written by the readers.
    uint32_t num_vertices;
    Vec3 vertices[MAX_VECT]; // in the frame of the owning subobject
    Vec3 vertex_normals[MAX_VECT];
    float vertex_alpha[MAX_VECT]; // version-2300 files; importers set 1.0
    uint16_t vertex_sobj[MAX_VECT];

    uint32_t num_polygons;
    Polygon polygons[MAX_POLY];

    // Subobjects, in load order; parents come before their children.
    uint32_t num_subobjects;
    int32_t sobj_parent[MAX_SOBJ]; // -1: no parent
    Vec3 sobj_offset[MAX_SOBJ];    // origin relative to the parent's origin
    char sobj_name[MAX_SOBJ][SOBJ_STRING_LEN];
    char sobj_props[MAX_SOBJ][SOBJ_STRING_LEN];
    uint32_t sobj_num_verts[MAX_SOBJ]; // OOF reader only
    uint32_t sobj_num_polys[MAX_SOBJ]; // OOF reader only

    // Derived from the property strings by prepare_model only.
    int32_t sobj_facing[MAX_SOBJ];
    FacingRecord facing[MAX_SOBJ];
    int32_t sobj_rotate[MAX_SOBJ];
    float rotate_time[MAX_SOBJ];
    int32_t sobj_glow[MAX_SOBJ];
    GlowRecord glow[MAX_SOBJ];
    int32_t sobj_fov[MAX_SOBJ];
    int32_t any_rotate;
    float model_radius; // largest coordinate magnitude of the assembled model

    uint32_t num_textures;
    TextureSlot textures[MAX_TEXTURE];

    // Animation keys: store-wide tables with a window per subobject.
    uint32_t pos_key_frame[MAX_ANI];
    Vec3 pos_key_pos[MAX_ANI];
    uint32_t pos_first_key[MAX_SOBJ];
    uint32_t pos_num_keys[MAX_SOBJ];
    uint32_t rot_key_frame[MAX_ANI];
    Vec3 rot_key_axis[MAX_ANI];
    uint32_t rot_key_angle[MAX_ANI]; // angle word as stored; degrees = word / 182
    uint32_t rot_first_key[MAX_SOBJ];
    uint32_t rot_num_keys[MAX_SOBJ];

    int32_t frame_used[MAX_ANI];   // indexed by frame number
    uint32_t used_frames[MAX_ANI]; // frame numbers in use, ascending
    uint32_t num_used_frames;

    uint32_t num_gun_points;
    GunPoint gun_points;
    uint32_t num_ground_points;
    GroundPoint ground_points;
    uint32_t num_attach_points;
    AttachPoint attach_points;
    uint32_t num_nath_points;
    AttachPoint nath_points;

    uint32_t num_special_points;
    SpecialPoint special_points;

    uint32_t num_batteries;
    WeaponBattery batteries;

    char pinf_text[MAX_PINF + 1];
};

extern Polymodel model;

// Empties the store before a load (counts, names, keys, frames, model-dependent selections);
// leaves the texture list, vertex and polygon contents, parents, offsets and point records.
void clear_model();
