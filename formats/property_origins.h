// Absolute subobject origins and model-space vertex positions, shared by the property
// derivation and the polymodel writer.
#pragma once

#include <cstdint>

#include "state/polymodel.h"

// origins[s] = sobj_offset[s] plus the origin of its parent, in one pass in subobject order.
// A parent that does not come before its child (which no reader lets through) is taken as none.
void subobject_origins(Vec3 origins[MAX_SOBJ]);

// vertices[v] placed at the origin of its subobject; a vertex of no subobject stays as stored.
Vec3 model_space_position(const Vec3 origins[MAX_SOBJ], uint32_t v);
