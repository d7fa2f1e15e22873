// The SOBJ chunk: one subobject with its vertices and polygons appended to the store.
#include <algorithm>
#include <cstdint>

#include "formats/oof_field_decode.h"
#include "formats/oof_read_chunks.h"
#include "state/messages.h"
#include "state/polymodel.h"

namespace {

void read_parent(ByteCursor& cursor, uint32_t s) {
    int32_t parent = cursor.i32();
    // Origins are computed in one pass, so a parent must come before its child.
    if (parent != -1 && uint32_t(parent) >= s)
        fatal_error("SOBJ parent >= SOBJ... ouch", 7);
    model.sobj_parent[s] = parent;
}

void read_vertices(OofInput& in, uint32_t s) {
    ByteCursor& cursor = in.cursor;
    uint32_t nv = cursor.u32();
    if (uint64_t(model.num_vertices) + nv > MAX_VECT)
        fatal_error("Vcount > MAX_VECT... ouch", 7);
    model.sobj_num_verts[s] = nv;
    uint32_t base = model.num_vertices;
    read_records(cursor, nv, 12, [&](uint32_t i, const uint8_t* p) {
        model.vertices[base + i] = le_vec3(p);
        model.vertex_sobj[base + i] = uint16_t(s);
    });
    model.num_vertices = base + nv;
    read_records(cursor, nv, 12, [&](uint32_t i, const uint8_t* p) {
        model.vertex_normals[base + i] = le_vec3(p);
    });
    // Files without per-vertex values get the importers' neutral value, not the last model's.
    if (in.version == OOF_VERSION_ALPHA)
        read_records(cursor, nv, 4, [&](uint32_t i, const uint8_t* p) {
            model.vertex_alpha[base + i] = le_f32(p);
        });
    else
        std::fill_n(model.vertex_alpha + base, nv, 1.0f);
}

void read_polygon_texture(ByteCursor& cursor, Polygon& poly) {
    poly.n_txtr = cursor.u32();
    if (poly.n_txtr > 1)
        message_box("INFO", "n_txtr > 1...");
    if (poly.n_txtr == 0) {
        poly.color.red = cursor.u8();
        poly.color.green = cursor.u8();
        poly.color.blue = cursor.u8();
        return;
    }
    poly.texture = cursor.u32();
    if (poly.texture >= MAX_TEXTURE)
        fatal_error("texture > MAX_TEXTURE... ouch", 7);
    model.textures[poly.texture].referenced = 1;
}

void read_polygon(OofInput& in, uint32_t s, uint32_t base) {
    ByteCursor& cursor = in.cursor;
    Polygon& poly = model.polygons[model.num_polygons];
    poly.sobj = s;
    uint8_t head[16];
    cursor.bytes(head, sizeof head);
    poly.normal = le_vec3(head);
    uint32_t k = le_u32(head + 12);
    if (k > MAX_POLY_POINTS)
        fatal_error("points > 25... ouch", 2);
    poly.num_points = k;
    read_polygon_texture(cursor, poly);
    read_records(cursor, k, 12, [&](uint32_t c, const uint8_t* p) {
        // The file's index counts from the subobject's first vertex. The sum wraps like the
        // u32 it is stored in, so an index may reach a vertex of an earlier subobject; one that
        // lands past the vertex table is refused.
        uint32_t point = le_u32(p) + base;
        if (point >= MAX_VECT)
            fatal_error("point index > MAX_VECT... ouch", 7);
        poly.points[c] = point;
        poly.u[c] = le_f32(p + 4);
        poly.v[c] = le_f32(p + 8);
    });
    if (in.version != OOF_VERSION_NO_TRAILER)
        cursor.skip(8);
    ++model.num_polygons;
}

void read_polygons(OofInput& in, uint32_t s, uint32_t base) {
    uint32_t np = in.cursor.u32();
    if (uint64_t(model.num_polygons) + np > MAX_POLY)
        fatal_error("Polycount > MAX_POLY... ouch", 3);
    model.sobj_num_polys[s] = np;
    for (uint32_t j = 0; j < np; ++j)
        read_polygon(in, s, base);
}

} // namespace

void read_terminated_string(ByteCursor& cursor, char* field, uint32_t capacity,
                            const char* too_long) {
    uint32_t n = cursor.u32();
    if (n >= capacity)
        fatal_error(too_long, 7);
    cursor.string_field(field, n);
}

void read_sobj(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    uint32_t s = model.num_subobjects;
    if (s >= MAX_SOBJ)
        fatal_error("SOBJ > MAX_SOBJ... ouch", 7);
    uint32_t base = model.num_vertices;
    cursor.skip(4); // the file's own subobject number
    read_parent(cursor, s);
    cursor.skip(7 * 4);
    model.sobj_offset[s] = cursor.vec3();
    cursor.skip(6 * 4); // radius, two marker words, centre
    read_terminated_string(cursor, model.sobj_name[s], SOBJ_STRING_LEN,
                           "SOBJ name > 49 chars... ouch");
    read_terminated_string(cursor, model.sobj_props[s], SOBJ_STRING_LEN,
                           "SOBJ props > 49 chars... ouch");
    cursor.skip(3 * 4);
    read_vertices(in, s);
    read_polygons(in, s, base);
    model.num_subobjects = s + 1;
}
