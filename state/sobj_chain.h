// Subobject parent chains, and the absolute origins and model-space positions built on them.
#pragma once

#include <cstdint>

#include "state/polymodel.h"

// Fills chain with the subobjects from the root down to sobj (sobj last); returns the length.
// A parent outside the used subobjects ends the chain there, and so does a parent already in
// it, so a broken or looping chain still ends. A sobj outside the used subobjects has none.
int parent_chain(int sobj, int chain[MAX_SOBJ]);

// origins[s]: the offsets along the parent chain of s added from the root down; zero for a
// slot outside the used subobjects.
void subobject_origins(Vec3 origins[MAX_SOBJ]);

// vertices[v] placed at the origin of its subobject; a vertex of no subobject stays as stored.
Vec3 model_space_position(const Vec3 origins[MAX_SOBJ], uint32_t v);
