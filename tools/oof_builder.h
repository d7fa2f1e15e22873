// Builds polymodel (.oof) images field by field for tests, benchmarks and samples, without the
// program's own writer, so reader tests do not merely read back what the writer wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/polymodel.h"
#include "state/vec3.h"

struct OofCorner {
    uint32_t index; // counted from the subobject's first vertex
    float u, v;
};

struct OofPolygon {
    Vec3 normal{0, 0, 1};
    uint32_t n_txtr = 0;
    uint8_t red = 0, green = 0, blue = 0; // written when n_txtr is 0
    uint32_t texture = 0;                 // written when n_txtr is not 0
    std::vector<OofCorner> corners;
    float span_xz = 0, span_yz = 0; // written by every version but 1907
};

// A polygon of the store as written, its corners given in file numbering.
OofPolygon oof_polygon_of(const Polygon& p, const std::vector<uint32_t>& corners, float span_xz = 0,
                          float span_yz = 0);

// What the writer computes into the words the reader skips.
struct OofSobjComputed {
    float radius;
    Vec3 centre;
    bool animated = false; // the model has key frames
};

// Strings are written as a u32 count and exactly the given bytes: include a '\0' to store one.
struct OofSubobject {
    uint32_t number = 0;
    int32_t parent = -1;
    Vec3 offset{};
    std::string name{}, props{};
    std::vector<Vec3> positions{}, normals{};
    std::vector<float> alphas{}; // written by version 2300; missing entries are written as 0
    std::vector<OofPolygon> polygons{};
    float ignored_fill = 0;                    // value of the words the reader skips
    std::optional<OofSobjComputed> computed{}; // written instead of the fill where it goes
};

struct OofPoint {
    uint32_t submodel;
    Vec3 location, direction;
};

struct OofSpecial {
    std::string name, properties;
    Vec3 location;
    float radius;
};

struct OofBattery {
    std::vector<uint32_t> guns, turrets;
};

struct OofPosKey {
    uint32_t frame;
    Vec3 position;
};

struct OofRotKey {
    uint32_t frame;
    Vec3 axis;
    uint32_t angle;
};

struct OofChunk {
    std::string tag; // four characters
    std::vector<uint8_t> data;
    std::optional<uint32_t> stated_length; // the length word; the data size when absent
};

// The header (magic, version) and the chunks back to back.
std::vector<uint8_t> build_oof(uint32_t version, const std::vector<OofChunk>& chunks,
                               const std::string& magic = "PSPO");

OofChunk oof_ohdr(uint32_t subobjects, float radius, Vec3 lo, Vec3 hi);
OofChunk oof_sobj(const OofSubobject& sobj, uint32_t version = 2300);
// A subobject of n vertices at (i, i + 0.5, -i), with one flat polygon per corner list.
OofSubobject oof_subobject(uint32_t vertices, std::vector<std::vector<uint32_t>> polygons = {},
                           int32_t parent = -1);
// The SOBJ of oof_subobject(vertices) with `polygons` one-corner polygons on vertex 0.
OofChunk oof_sobj(uint32_t vertices, uint32_t polygons = 0);
OofChunk oof_txtr(const std::vector<std::string>& names);
// tag is "GPNT", "GRND", "ATCH" or "NATH".
OofChunk oof_points(const std::string& tag, const std::vector<OofPoint>& points);
OofChunk oof_spcl(const std::vector<OofSpecial>& points);
OofChunk oof_wbat(const std::vector<OofBattery>& batteries);
OofChunk oof_pinf(const std::string& text);
// One block of keys per subobject.
OofChunk oof_pani(const std::vector<std::vector<OofPosKey>>& blocks);
OofChunk oof_rani(const std::vector<std::vector<OofRotKey>>& blocks);

// A small model with every chunk kind: TXTR ("hull", "glass"), OHDR, SOBJ 0 "body" (4 vertices,
// a textured quad and a flat triangle), SOBJ 1 "turret" (parent 0, offset (1, 2, 3), 3 vertices,
// a flat triangle, props "$rotate=5"), GPNT, GRND, ATCH, NATH, SPCL, WBAT, PANI, RANI and PINF.
// Paired fields hold different values so that a swapped field shows.
std::vector<OofChunk> oof_every_chunk_kind(uint32_t version);
// The image the writer makes of the store read from oof_every_chunk_kind(read_version).
std::vector<uint8_t> oof_every_chunk_kind_rewritten(uint32_t read_version);

// The largest model the store holds in the shape of a real one: 4000 vertices and 4000 quads
// over 12 subobjects (each a child of the one before), two textures, and 15000 position and
// 15000 rotation keys spread over the subobjects.
std::vector<uint8_t> oof_maximal_model();
