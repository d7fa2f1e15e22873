// The renderer's tables: shared corner arrays, draw batches, and one display list per subobject.
#pragma once

#include <cstdint>

#include "state/polymodel.h"

// Corners of all drawn polygons together: room for every polygon the store holds at its
// largest, so no model is ever cut short.
constexpr int MAX_BATCH_CORNERS = MAX_POLY * MAX_POLY_POINTS;

constexpr uint8_t BATCH_FLAT = 0;
constexpr uint8_t BATCH_TEXTURED = 1;

// One polygon's run of corners in the shared arrays.
struct DrawBatch {
    uint8_t kind;      // BATCH_FLAT or BATCH_TEXTURED
    uint8_t colour[3]; // red, green, blue; a textured batch keeps its texture slot in colour[0]
    uint32_t first;    // first corner in the shared arrays
    uint32_t count;    // corners
};

// A subobject's consecutive batches.
struct SobjBatchRange {
    uint32_t first;
    uint32_t count;
};

struct TexCoord {
    float u;
    float v;
};

struct DrawTables {
    // Written by build_batches, indexed alike, handed to GL as client arrays.
    Vec3 batch_vertices[MAX_BATCH_CORNERS];
    Vec3 batch_normals[MAX_BATCH_CORNERS];
    TexCoord batch_texcoords[MAX_BATCH_CORNERS];
    uint32_t num_corners;

    // Written by build_batches: one batch per drawn polygon, grouped per subobject.
    DrawBatch batches[MAX_POLY];
    uint32_t num_batches;
    SobjBatchRange sobj_batches[MAX_SOBJ];

    // Written by build_sobj_list; the window layer clears the flags with a new GL context.
    uint32_t sobj_list[MAX_SOBJ];
    int32_t sobj_list_built[MAX_SOBJ];
};

extern DrawTables draw_tables;

// Puts the tables back to their start state (all zero), as at program start.
void reset_draw_tables();

// The subobject slots in use, never more than the tables hold.
int used_subobjects();
