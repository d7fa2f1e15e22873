// The OHDR and SOBJ chunks: bounds and radii, and each subobject's vertices and polygons
// selected by owner and renumbered from 0.
#include <algorithm>
#include <cmath>
#include <memory>

#include "formats/oof_write_chunks.h"
#include "state/counts.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"

namespace {

// Vertices and polygons grouped by owning subobject in store order (a counting sort), with the
// number each vertex gets in the file.
struct Selection {
    uint32_t first_vertex[MAX_SOBJ + 1]; // also the file-wide index of the subobject's vertex 0
    uint32_t vertices[MAX_VECT];
    uint32_t first_polygon[MAX_SOBJ + 1];
    uint32_t polygons[MAX_POLY];
    uint32_t file_index[MAX_VECT]; // file-wide index of each store vertex; NONE if not written
};

constexpr uint32_t NONE = 0xFFFFFFFF;

template <class OwnerOf>
void group(uint32_t count, uint32_t subobjects, uint32_t* first, uint32_t* order, OwnerOf owner) {
    uint32_t sizes[MAX_SOBJ] = {};
    for (uint32_t i = 0; i < count; ++i)
        if (owner(i) < subobjects)
            ++sizes[owner(i)];
    uint32_t total = 0;
    for (uint32_t s = 0; s < subobjects; ++s) {
        first[s] = total;
        total += sizes[s];
    }
    first[subobjects] = total;
    uint32_t next[MAX_SOBJ];
    std::copy_n(first, subobjects, next);
    for (uint32_t i = 0; i < count; ++i)
        if (owner(i) < subobjects)
            order[next[owner(i)]++] = i;
}

void select(Selection& sel) {
    uint32_t subobjects = clamp_count(model.num_subobjects, MAX_SOBJ);
    uint32_t vertices = clamp_count(model.num_vertices, MAX_VECT);
    group(vertices, subobjects, sel.first_vertex, sel.vertices,
          [](uint32_t v) { return uint32_t(model.vertex_sobj[v]); });
    group(clamp_count(model.num_polygons, MAX_POLY), subobjects, sel.first_polygon, sel.polygons,
          [](uint32_t p) { return model.polygons[p].sobj; });
    std::fill_n(sel.file_index, MAX_VECT, NONE);
    for (uint32_t k = 0; k < sel.first_vertex[subobjects]; ++k)
        sel.file_index[sel.vertices[k]] = k;
}

double length(Vec3 p) {
    return std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
}

struct Bounds {
    Vec3 lo{}, hi{};
    double radius = 0;

    // The running values start from the first point given.
    void add(Vec3 p, bool first) {
        if (first) {
            lo = hi = p;
            radius = length(p);
            return;
        }
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        radius = std::max(radius, length(p));
    }
};

Vec3 corner_position(uint32_t vertex) {
    return vertex < model.num_vertices && vertex < MAX_VECT ? model.vertices[vertex] : Vec3{};
}

// Largest corner-to-corner distances in the x-z and the y-z plane. The root is taken once, of
// the largest square, which gives the same value as the largest root.
void spans(const Polygon& poly, uint32_t corners, float& span_xz, float& span_yz) {
    Vec3 p[MAX_POLY_POINTS];
    for (uint32_t c = 0; c < corners; ++c)
        p[c] = corner_position(poly.points[c]);
    double widest_xz = 0, widest_yz = 0;
    for (uint32_t a = 0; a < corners; ++a) {
        for (uint32_t b = a + 1; b < corners; ++b) {
            double dx = double(p[a].x) - p[b].x, dy = double(p[a].y) - p[b].y;
            double dz = double(p[a].z) - p[b].z;
            widest_xz = std::max(widest_xz, dx * dx + dz * dz);
            widest_yz = std::max(widest_yz, dy * dy + dz * dz);
        }
    }
    span_xz = float(std::sqrt(widest_xz));
    span_yz = float(std::sqrt(widest_yz));
}

// A corner is written relative to its subobject's first vertex in the file. A corner on a
// vertex of another subobject keeps pointing at that vertex: the offset wraps as a u32, and the
// reader's u32 sum wraps back. A corner on no written vertex becomes the subobject's vertex 0.
uint32_t corner_index(const Selection& sel, uint32_t s, uint32_t vertex) {
    uint32_t target = vertex < MAX_VECT ? sel.file_index[vertex] : NONE;
    return target == NONE ? 0 : target - sel.first_vertex[s];
}

void write_polygon(ByteWriter& out, const Selection& sel, uint32_t s, const Polygon& poly) {
    uint32_t corners = clamp_count(poly.num_points, MAX_POLY_POINTS);
    out.vec3(poly.normal);
    out.u32(corners);
    out.u32(poly.n_txtr);
    if (poly.n_txtr == 0) {
        out.u8(poly.color.red);
        out.u8(poly.color.green);
        out.u8(poly.color.blue);
    } else {
        out.u32(poly.texture);
    }
    for (uint32_t c = 0; c < corners; ++c) {
        out.u32(corner_index(sel, s, poly.points[c]));
        out.f32(poly.u[c]);
        out.f32(poly.v[c]);
    }
    float span_xz, span_yz;
    spans(poly, corners, span_xz, span_yz);
    out.f32(span_xz);
    out.f32(span_yz);
}

void write_subobject_header(ByteWriter& out, const Selection& sel, uint32_t s) {
    Bounds bounds;
    for (uint32_t k = sel.first_vertex[s]; k < sel.first_vertex[s + 1]; ++k)
        bounds.add(model.vertices[sel.vertices[k]], k == sel.first_vertex[s]);
    out.u32(s);
    out.i32(model.sobj_parent[s]);
    out.zeros(7 * 4);
    out.vec3(model.sobj_offset[s]);
    out.f32(float(bounds.radius));
    out.u32(0xFFFFFFFF);
    out.u32(0xFFFFFFFF);
    out.vec3({float(bounds.hi.x - (double(bounds.hi.x) - bounds.lo.x) * 0.5),
              float(bounds.hi.y - (double(bounds.hi.y) - bounds.lo.y) * 0.5),
              float(bounds.hi.z - (double(bounds.hi.z) - bounds.lo.z) * 0.5)});
    write_string(out, model.sobj_name[s], SOBJ_STRING_LEN - 1);
    write_string(out, model.sobj_props[s], SOBJ_STRING_LEN - 1);
    bool animated = model.num_used_frames != 0;
    out.u32(animated ? 1 : 0xFFFFFFFF);
    out.u32(animated ? 2 : 0xFFFFFFFF);
    out.u32(0);
}

void write_subobject(ByteWriter& out, const Selection& sel, uint32_t s) {
    size_t at = begin_chunk(out, "SOBJ");
    write_subobject_header(out, sel, s);
    uint32_t first = sel.first_vertex[s], end = sel.first_vertex[s + 1];
    out.u32(end - first);
    for (uint32_t k = first; k < end; ++k)
        out.vec3(model.vertices[sel.vertices[k]]);
    for (uint32_t k = first; k < end; ++k)
        out.vec3(model.vertex_normals[sel.vertices[k]]);
    for (uint32_t k = first; k < end; ++k)
        out.f32(model.vertex_alpha[sel.vertices[k]]);
    out.u32(sel.first_polygon[s + 1] - sel.first_polygon[s]);
    for (uint32_t k = sel.first_polygon[s]; k < sel.first_polygon[s + 1]; ++k)
        write_polygon(out, sel, s, model.polygons[sel.polygons[k]]);
    end_chunk(out, at);
}

} // namespace

void write_ohdr(ByteWriter& out) {
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    Bounds bounds;
    uint32_t vertices = clamp_count(model.num_vertices, MAX_VECT);
    for (uint32_t v = 0; v < vertices; ++v)
        bounds.add(model_space_position(origins, v), v == 0);
    size_t at = begin_chunk(out, "OHDR");
    out.u32(clamp_count(model.num_subobjects, MAX_SOBJ));
    out.f32(float(bounds.radius));
    out.vec3(bounds.lo);
    out.vec3(bounds.hi);
    out.u32(0);
    end_chunk(out, at);
}

void write_subobjects(ByteWriter& out) {
    auto sel = std::make_unique<Selection>();
    select(*sel);
    uint32_t subobjects = clamp_count(model.num_subobjects, MAX_SOBJ);
    for (uint32_t s = 0; s < subobjects; ++s)
        write_subobject(out, *sel, s);
}
