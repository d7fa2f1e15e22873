// The room (.orf) writer: the store flattened into model space, one placeholder texture,
// written whole to a temporary file that replaces the target only when complete.
#include "formats/orf_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "formats/export_file.h"
#include "formats/orf_chunks.h"
#include "state/byte_writer.h"
#include "state/messages.h"
#include "state/polymodel.h"

namespace {

// Added to every model-space vertex; the reader's centring takes it off again.
constexpr Vec3 ORF_ROOM_SHIFT = {2048.0f, -100.0f, 2048.0f};
constexpr char ORF_PLACEHOLDER_TEXTURE[] = "SAMPLE TEXTURE";
constexpr uint8_t ORF_RECORD_TAG = 4;
constexpr uint32_t ORF_END_LENGTH = 4; // the end chunk claims 4 bytes but has no body
constexpr int ORF_POINT_UNUSED_WORDS = 5;

// Counts are cut to the tables so that a damaged store never reads past them.
uint32_t vertex_count() {
    return std::min<uint32_t>(model.num_vertices, MAX_VECT);
}
uint32_t polygon_count() {
    return std::min<uint32_t>(model.num_polygons, MAX_POLY);
}
uint32_t point_count(const Polygon& polygon) {
    return std::min<uint32_t>(polygon.num_points, MAX_POLY_POINTS);
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

// The absolute origin of subobject s, summed from its root down as a pass in subobject order
// would. Walking the chain also serves a parent stored after its child; a chain that leaves
// the subobject table or loops is cut there.
Vec3 absolute_origin(uint32_t s) {
    uint32_t num_subobjects = std::min<uint32_t>(model.num_subobjects, MAX_SOBJ);
    uint32_t chain[MAX_SOBJ];
    bool in_chain[MAX_SOBJ] = {};
    int length = 0;
    for (int64_t k = s; k >= 0 && k < num_subobjects && !in_chain[k]; k = model.sobj_parent[k]) {
        in_chain[k] = true;
        chain[length++] = uint32_t(k);
    }
    Vec3 origin{};
    for (int i = length - 1; i >= 0; --i) {
        const Vec3& offset = model.sobj_offset[chain[i]];
        origin = {offset.x + origin.x, offset.y + origin.y, offset.z + origin.z};
    }
    return origin;
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
    for (uint32_t s = 0; s < MAX_SOBJ; ++s)
        origins[s] = absolute_origin(s);
    size_t length_at = begin_chunk(out, ORF_VERTICES);
    for (uint32_t v = 0; v < vertex_count(); ++v) {
        uint32_t s = model.vertex_sobj[v];
        Vec3 origin = s < MAX_SOBJ ? origins[s] : Vec3{};
        const Vec3& p = model.vertices[v];
        out.f32(p.x + origin.x + ORF_ROOM_SHIFT.x);
        out.f32(p.y + origin.y + ORF_ROOM_SHIFT.y);
        out.f32(p.z + origin.z + ORF_ROOM_SHIFT.z);
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
    return vertex_count() == 0 ? 0 : point_count(polygon);
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

// The image is held in memory whole; without room for it the program ends with status 1.
std::vector<uint8_t> build_image() {
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

} // namespace

bool export_orf() {
    if (!save_export(build_image())) {
        message_box("ERROR", "Can't write the output file", BoxIcon::error);
        return false;
    }
    return true;
}
