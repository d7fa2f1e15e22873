// build_batches: each subobject's flat polygons, then untextured fallbacks, then textured
// polygons grouped by texture slot, copied into the shared corner arrays.
#include "render/batches.h"

#include "render/draw_tables.h"
#include "state/view_state.h"

namespace {

enum class Pass { none, flat, fallback, textured };

// Polygon indices grouped by subobject, store order kept within each group, so the passes
// visit only the subobject's own polygons.
uint32_t polys_by_sobj[MAX_POLY];
uint32_t sobj_poly_start[MAX_SOBJ + 1];

uint32_t used_polygons() {
    return model.num_polygons < uint32_t(MAX_POLY) ? model.num_polygons : MAX_POLY;
}

bool slot_loaded(uint32_t slot) {
    return slot < uint32_t(MAX_TEXTURE) && model.textures[slot].loaded;
}

bool slot_highlighted(uint32_t slot) {
    return slot < uint32_t(MAX_TEXTURE) && view.texture_highlight[slot];
}

bool highlighted(const Polygon& p) {
    return view.sobj_highlight[p.sobj] || slot_highlighted(p.texture);
}

Pass pass_of(const Polygon& p) {
    if (p.n_txtr == 0)
        return view.flat_colors ? Pass::flat : Pass::none;
    if (p.n_txtr > 1)
        return Pass::none;
    if (!slot_loaded(p.texture) || highlighted(p))
        return Pass::fallback;
    return Pass::textured;
}

void group_polygons_by_sobj(int num_sobj) {
    uint32_t count[MAX_SOBJ] = {};
    uint32_t n = used_polygons();
    for (uint32_t i = 0; i < n; ++i)
        if (model.polygons[i].sobj < uint32_t(num_sobj))
            ++count[model.polygons[i].sobj];
    sobj_poly_start[0] = 0;
    for (int s = 0; s < num_sobj; ++s)
        sobj_poly_start[s + 1] = sobj_poly_start[s] + count[s];
    uint32_t next[MAX_SOBJ];
    for (int s = 0; s < num_sobj; ++s)
        next[s] = sobj_poly_start[s];
    for (uint32_t i = 0; i < n; ++i)
        if (model.polygons[i].sobj < uint32_t(num_sobj))
            polys_by_sobj[next[model.polygons[i].sobj]++] = i;
}

Vec3 vertex_or_origin(const Vec3* table, uint32_t index) {
    return index < uint32_t(MAX_VECT) ? table[index] : Vec3{0, 0, 0};
}

// Each polygon is emitted at most once with at most MAX_POLY_POINTS corners, so neither the
// batch table nor the corner arrays can overflow.
static_assert(MAX_BATCH_CORNERS >= MAX_POLY * MAX_POLY_POINTS);
void emit(const Polygon& p, uint8_t kind, Rgb8 colour) {
    DrawTables& t = draw_tables;
    uint32_t corners = p.num_points < uint32_t(MAX_POLY_POINTS) ? p.num_points : MAX_POLY_POINTS;
    t.batches[t.num_batches++] = {
        kind, {colour.red, colour.green, colour.blue}, t.num_corners, corners};
    for (uint32_t k = 0; k < corners; ++k) {
        uint32_t a = t.num_corners++;
        uint32_t i = p.points[k];
        t.batch_vertices[a] = vertex_or_origin(model.vertices, i);
        t.batch_normals[a] = view.smooth ? vertex_or_origin(model.vertex_normals, i) : p.normal;
        if (kind == BATCH_TEXTURED)
            t.batch_texcoords[a] = {p.u[k], p.v[k]};
    }
}

constexpr Rgb8 CYAN = {0, 255, 255};
constexpr Rgb8 LIGHT_GREY = {192, 192, 192};

void emit_subobject(int s) {
    const uint32_t* begin = polys_by_sobj + sobj_poly_start[s];
    const uint32_t* end = polys_by_sobj + sobj_poly_start[s + 1];
    for (const uint32_t* i = begin; i != end; ++i) {
        const Polygon& p = model.polygons[*i];
        if (pass_of(p) == Pass::flat)
            emit(p, BATCH_FLAT, view.sobj_highlight[s] ? CYAN : p.color);
    }
    for (const uint32_t* i = begin; i != end; ++i) {
        const Polygon& p = model.polygons[*i];
        if (pass_of(p) == Pass::fallback)
            emit(p, BATCH_FLAT, highlighted(p) ? CYAN : LIGHT_GREY);
    }
    uint32_t num_slots =
        model.num_textures < uint32_t(MAX_TEXTURE) ? model.num_textures : MAX_TEXTURE;
    for (uint32_t slot = 0; slot < num_slots; ++slot) {
        if (!model.textures[slot].loaded)
            continue;
        for (const uint32_t* i = begin; i != end; ++i) {
            const Polygon& p = model.polygons[*i];
            if (p.texture == slot && pass_of(p) == Pass::textured)
                emit(p, BATCH_TEXTURED, {uint8_t(slot), 0, 0});
        }
    }
}

} // namespace

void build_batches() {
    DrawTables& t = draw_tables;
    t.num_corners = 0;
    t.num_batches = 0;
    int num_sobj = used_subobjects();
    group_polygons_by_sobj(num_sobj);
    for (int s = 0; s < num_sobj; ++s) {
        t.sobj_batches[s].first = t.num_batches;
        emit_subobject(s);
        t.sobj_batches[s].count = t.num_batches - t.sobj_batches[s].first;
    }
}
