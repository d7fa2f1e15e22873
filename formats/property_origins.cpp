// Subobject origins: each subobject's offset added to its parent's origin.
#include "formats/property_origins.h"

void subobject_origins(Vec3 origins[MAX_SOBJ]) {
    uint32_t count = model.num_subobjects < MAX_SOBJ ? model.num_subobjects : MAX_SOBJ;
    for (uint32_t s = 0; s < MAX_SOBJ; ++s)
        origins[s] = Vec3{0, 0, 0};
    for (uint32_t s = 0; s < count; ++s) {
        Vec3 origin = model.sobj_offset[s];
        int32_t parent = model.sobj_parent[s];
        if (parent >= 0 && uint32_t(parent) < s) {
            origin.x += origins[parent].x;
            origin.y += origins[parent].y;
            origin.z += origins[parent].z;
        }
        origins[s] = origin;
    }
}

Vec3 model_space_position(const Vec3 origins[MAX_SOBJ], uint32_t v) {
    Vec3 p = model.vertices[v];
    uint16_t s = model.vertex_sobj[v];
    if (s < MAX_SOBJ) {
        p.x += origins[s].x;
        p.y += origins[s].y;
        p.z += origins[s].z;
    }
    return p;
}
