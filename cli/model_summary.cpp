// Facts about the model in the store for the info command.
#include "cli/model_summary.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/hog_index.h"
#include "archive/texture_search.h"
#include "render/sobj_transform.h"
#include "state/paths.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"

uint32_t num_sobj() {
    return std::min<uint32_t>(model.num_subobjects, MAX_SOBJ);
}

uint32_t num_textures() {
    return std::min<uint32_t>(model.num_textures, MAX_TEXTURE);
}

ModelBounds model_bounds() {
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    ModelBounds b{{0, 0, 0}, {0, 0, 0}, 0};
    uint32_t count = std::min<uint32_t>(model.num_vertices, MAX_VECT);
    for (uint32_t v = 0; v < count; ++v) {
        Vec3 p = model_space_position(origins, v);
        if (v == 0) {
            b.min = b.max = p;
        }
        b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
        b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
        b.radius = std::max(b.radius, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    }
    return b;
}

uint32_t sobj_vertex_count(uint32_t sobj) {
    uint32_t count = std::min<uint32_t>(model.num_vertices, MAX_VECT);
    return uint32_t(std::count(model.vertex_sobj, model.vertex_sobj + count, sobj));
}

uint32_t sobj_polygon_count(uint32_t sobj) {
    uint32_t count = std::min<uint32_t>(model.num_polygons, MAX_POLY);
    return uint32_t(std::count_if(model.polygons, model.polygons + count,
                                  [&](const Polygon& p) { return p.sobj == sobj; }));
}

int sobj_depth(uint32_t sobj) {
    int chain[MAX_SOBJ];
    return parent_chain(int(sobj), chain) - 1;
}

int tree_parent(uint32_t sobj) {
    int chain[MAX_SOBJ];
    int length = parent_chain(int(sobj), chain);
    return length >= 2 ? chain[length - 2] : -1;
}

namespace {

uint32_t key_count(const uint32_t* num_keys) {
    uint32_t total = 0;
    for (uint32_t s = 0; s < num_sobj(); ++s)
        total += num_keys[s];
    return total;
}

} // namespace

uint32_t position_key_count() {
    return key_count(model.pos_num_keys);
}

uint32_t rotation_key_count() {
    return key_count(model.rot_num_keys);
}

std::string texture_name(uint32_t slot) {
    const char* name = model.textures[slot].name;
    return std::string(name, strnlen(name, TEXTURE_NAME_LEN));
}

namespace {

// The name the file or entry that was found is stored under, which may differ in case from the
// name searched for.
std::string stored_name(const TextureFile& found, bool in_archive) {
    if (!in_archive) {
        if (is_regular_file(found.file_name))
            return found.file_name;
        std::string other = find_ignoring_case(found.file_name);
        return other.empty() ? found.file_name : other;
    }
    bool still = found.kind == TextureKind::still;
    const HogEntry* entry = find_hog_texture(still ? hog.ogf_entries : hog.oaf_entries,
                                             still ? hog.num_ogf : hog.num_oaf, found.file_name);
    return entry ? entry->name : found.file_name;
}

} // namespace

TextureSource texture_source(uint32_t slot) {
    TextureFile found;
    if (!find_texture_file(model.textures[slot].name, found))
        return {false, "", false};
    // A loose file is read from its start; an archive entry lies after the archive's header.
    bool in_archive = found.offset != 0;
    return {true, stored_name(found, in_archive), in_archive};
}
