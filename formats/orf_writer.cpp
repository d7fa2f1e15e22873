// The room (.orf) writer: the store flattened into model space with one placeholder texture.
#include "formats/orf_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "formats/export_file.h"
#include "formats/orf_chunks.h"
#include "state/byte_writer.h"
#include "state/counts.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"

namespace {

// Added to every model-space vertex; the reader's centring takes it off again.
constexpr Vec3 ORF_ROOM_SHIFT = {2048.0f, -100.0f, 2048.0f};
constexpr char ORF_PLACEHOLDER_TEXTURE[] = "SAMPLE TEXTURE";
constexpr uint8_t ORF_RECORD_TAG = 4;
constexpr uint32_t ORF_END_LENGTH = 4; // the end chunk claims 4 bytes but has no body
constexpr int ORF_POINT_UNUSED_WORDS = 5;

uint32_t vertex_count() {
    return clamp_count(model.num_vertices, MAX_VECT);
}
uint32_t polygon_count() {
    return clamp_count(model.num_polygons, MAX_POLY);
}

// Writes the type and a length placeholder; returns where the length goes.
size_t begin_chunk(ByteWriter& out, uint32_t type) {
    out.u32(type);
    size_t length_at = out.size();
    out.u32(0);
    return length_at;
}

void end_chunk(ByteWriter& out, size_t length_at) {
    out.patch_u32(length_at, uint32_t(out.size() - length_at - 4));
}

void write_header(ByteWriter& out) {
    size_t length_at = begin_chunk(out, ORF_HEADER);
    out.u32(ORF_RECORD_TAG);
    out.u32(vertex_count());
    out.u32(polygon_count());
    end_chunk(out, length_at);
}

void write_vertices(ByteWriter& out) {
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    size_t length_at = begin_chunk(out, ORF_VERTICES);
    for (uint32_t v = 0; v < vertex_count(); ++v) {
        Vec3 p = model_space_position(origins, v);
        out.f32(p.x + ORF_ROOM_SHIFT.x);
        out.f32(p.y + ORF_ROOM_SHIFT.y);
        out.f32(p.z + ORF_ROOM_SHIFT.z);
    }
    end_chunk(out, length_at);
}

void write_texture_list(ByteWriter& out) {
    size_t length_at = begin_chunk(out, ORF_TEXTURES);
    out.u32(1);
    out.bytes(ORF_PLACEHOLDER_TEXTURE, sizeof ORF_PLACEHOLDER_TEXTURE);
    end_chunk(out, length_at);
}

// Each subobject's first vertex in the room; the room's vertex 0 for a subobject without any.
void find_first_vertices(uint32_t (&first)[MAX_SOBJ]) {
    std::fill_n(first, MAX_SOBJ, 0u);
    for (uint32_t v = vertex_count(); v-- > 0;)
        if (model.vertex_sobj[v] < MAX_SOBJ)
            first[model.vertex_sobj[v]] = v;
}

// The reader takes only corners on a vertex of the room. As in the polymodel export, a corner
// on no vertex becomes its subobject's first vertex; a room without vertices has no corners.
uint32_t corners_written(const Polygon& polygon) {
    return vertex_count() == 0 ? 0 : clamp_count(polygon.num_points, MAX_POLY_POINTS);
}

void write_polygon(ByteWriter& out, const Polygon& polygon, const uint32_t (&first)[MAX_SOBJ]) {
    out.u8(ORF_RECORD_TAG);
    out.u32(corners_written(polygon));
    out.vec3(polygon.normal);
    out.i16(0); // every polygon uses the placeholder texture
    for (uint32_t k = 0; k < corners_written(polygon); ++k) {
        uint32_t vertex = polygon.points[k];
        if (vertex >= vertex_count())
            vertex = polygon.sobj < MAX_SOBJ ? first[polygon.sobj] : 0;
        out.u16(uint16_t(vertex));
        out.f32(polygon.u[k]);
        out.f32(polygon.v[k]);
        for (int w = 0; w < ORF_POINT_UNUSED_WORDS; ++w)
            out.u32(0);
    }
}

void write_polygons(ByteWriter& out) {
    uint32_t first[MAX_SOBJ];
    find_first_vertices(first);
    size_t length_at = begin_chunk(out, ORF_POLYGONS);
    for (uint32_t p = 0; p < polygon_count(); ++p)
        write_polygon(out, model.polygons[p], first);
    end_chunk(out, length_at);
}

void write_end(ByteWriter& out) {
    out.u32(ORF_END);
    out.u32(ORF_END_LENGTH);
}

} // namespace

std::vector<uint8_t> export_orf_bytes() {
    try {
        ByteWriter out;
        write_header(out);
        write_vertices(out);
        write_texture_list(out);
        write_polygons(out);
        write_end(out);
        return out.take();
    } catch (const std::bad_alloc&) {
        std::exit(1);
    }
}

bool export_orf() {
    if (!save_export(export_orf_bytes())) {
        message_box("ERROR", "Can't write the output file", BoxIcon::error);
        return false;
    }
    return true;
}
