// The parent-chain walk shared by the property pass, the writers and the drawing.
#include "state/sobj_chain.h"

#include <algorithm>

#include "state/counts.h"

int parent_chain(int sobj, int chain[MAX_SOBJ]) {
    int num_sobj = int(clamp_count(model.num_subobjects, MAX_SOBJ));
    bool seen[MAX_SOBJ] = {};
    int up[MAX_SOBJ];
    int length = 0;
    for (int s = sobj; s >= 0 && s < num_sobj && !seen[s]; s = model.sobj_parent[s]) {
        seen[s] = true;
        up[length++] = s;
    }
    std::reverse_copy(up, up + length, chain);
    return length;
}

void subobject_origins(Vec3 origins[MAX_SOBJ]) {
    for (int s = 0; s < MAX_SOBJ; ++s) {
        int chain[MAX_SOBJ];
        int length = parent_chain(s, chain);
        Vec3 origin = length > 0 ? model.sobj_offset[chain[0]] : Vec3{0, 0, 0};
        for (int i = 1; i < length; ++i) {
            const Vec3& offset = model.sobj_offset[chain[i]];
            origin = {offset.x + origin.x, offset.y + origin.y, offset.z + origin.z};
        }
        origins[s] = origin;
    }
}

Vec3 model_space_position(const Vec3 origins[MAX_SOBJ], uint32_t v) {
    Vec3 p = model.vertices[v];
    uint16_t s = model.vertex_sobj[v];
    if (s < MAX_SOBJ)
        p = {p.x + origins[s].x, p.y + origins[s].y, p.z + origins[s].z};
    return p;
}
