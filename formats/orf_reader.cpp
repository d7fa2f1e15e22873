// The room (.orf) reader: chunks into the store, then one centred subobject with smoothed
// vertex normals and the game's texture names.
#include "formats/orf_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/orf_chunks.h"
#include "formats/orf_texture_names.h"
#include "formats/vertex_normals.h"
#include "state/byte_cursor.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/view_state.h"

namespace {

constexpr int ORF_POINT_UNUSED_BYTES = 20; // five floats after u and v

// The room's own texture names, kept apart from the store until the finishing steps.
struct OrfTextureList {
    uint32_t count = 0;
    char names[MAX_TEXTURE][TEXTURE_NAME_LEN] = {};
};

std::vector<uint8_t> read_room_file() {
    FileHandle file = open_for_reading({view.import_path, strnlen(view.import_path, PATH_LEN)});
    if (!file)
        fatal_error("Can't open the orf file", -2);
    // A file longer than any real room is refused unread.
    std::vector<uint8_t> bytes;
    if (!read_file_image(file.get(), 0, file_size(file.get()), 0, nullptr, bytes))
        fatal_error("Bad Orf file...", -2);
    return bytes;
}

// The header's counts size the vertex and polygon chunks that follow. Entries that no chunk
// fills are zero rather than left over from the previous model.
void read_header(ByteCursor& in) {
    in.u32();
    uint32_t num_vertices = in.u32();
    uint32_t num_polygons = in.u32();
    if (num_vertices > MAX_VECT)
        fatal_error("orf: Vcount > MAX_VECT... ouch", 7);
    if (num_polygons > MAX_POLY)
        fatal_error("orf: Polycount > MAX_POLY... ouch", 3);
    model.num_vertices = num_vertices;
    model.num_polygons = num_polygons;
    std::fill_n(model.vertices, num_vertices, Vec3{});
    std::fill_n(model.vertex_sobj, num_vertices, uint16_t(0));
    std::fill_n(model.polygons, num_polygons, Polygon{});
}

void read_texture_list(ByteCursor& in, OrfTextureList& list) {
    uint32_t count = in.u32();
    if (count > MAX_TEXTURE)
        fatal_error("orf: numtextures > MAX_TEXTURE", 0);
    list.count = count;
    for (uint32_t k = 0; k < count; ++k) {
        char* name = list.names[k];
        size_t length = 0;
        for (uint8_t c = in.u8(); c != 0; c = in.u8()) {
            if (length >= TEXTURE_NAME_LEN - 1)
                fatal_error("orf: charcount > 36", 0);
            name[length++] = char(c);
        }
        name[length] = '\0';
    }
}

void read_vertices(ByteCursor& in) {
    for (uint32_t v = 0; v < model.num_vertices; ++v) {
        model.vertices[v] = in.vec3();
        model.vertex_sobj[v] = 0;
        model.vertex_alpha[v] = 1.0f;
    }
}

void read_polygon(ByteCursor& in, Polygon& polygon) {
    in.u8();
    uint32_t num_points = in.u32();
    if (num_points > MAX_POLY_POINTS)
        fatal_error("orf: polygon points > 25... ouch", 2);
    polygon.num_points = num_points;
    polygon.normal = in.vec3();
    int16_t texture = in.i16();
    if (texture < 0 || texture >= MAX_TEXTURE)
        fatal_error("orf: texture index > MAX_TEXTURE... ouch", 7);
    polygon.texture = uint32_t(texture);
    polygon.n_txtr = 1;
    polygon.sobj = 0;
    model.textures[texture].referenced = 1;
    for (uint32_t k = 0; k < num_points; ++k) {
        // Sign-extended: a negative index becomes a huge one and fails the vertex check.
        polygon.points[k] = uint32_t(int32_t(in.i16()));
        polygon.u[k] = in.f32();
        polygon.v[k] = in.f32();
        in.skip(ORF_POINT_UNUSED_BYTES);
    }
}

void read_polygons(ByteCursor& in) {
    for (uint32_t p = 0; p < model.num_polygons; ++p)
        read_polygon(in, model.polygons[p]);
}

// Walks the chunks until the end chunk or the end of the data; chunk lengths are not used.
void read_chunks(std::span<const uint8_t> bytes, OrfTextureList& textures) {
    ByteCursor in(bytes);
    while (in.tell() < in.size()) {
        uint32_t type = in.u32();
        in.u32();
        switch (type) {
        case ORF_HEADER:
            read_header(in);
            break;
        case ORF_TEXTURES:
            read_texture_list(in, textures);
            break;
        case ORF_VERTICES:
            read_vertices(in);
            break;
        case ORF_POLYGONS:
            read_polygons(in);
            break;
        case ORF_END:
            return;
        default:
            fatal_error("Bad Orf file...", -2);
        }
    }
}

// Indices are checked once every chunk is in, since the texture list may follow the polygons.
void check_indices(const OrfTextureList& textures) {
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        if (polygon.texture >= textures.count)
            fatal_error("orf: texture index > numtextures... ouch", 7);
        for (uint32_t k = 0; k < polygon.num_points; ++k) {
            if (polygon.points[k] >= model.num_vertices)
                fatal_error("orf: vertex index > Vcount... ouch", 7);
        }
    }
}

void make_single_subobject() {
    model.num_subobjects = 1;
    model.sobj_parent[0] = -1;
    model.sobj_offset[0] = {0.0f, 0.0f, 0.0f};
}

float centre_of(float smallest, float largest) {
    return float(largest - (double(largest) - smallest) * 0.5);
}

void centre_vertices() {
    if (model.num_vertices == 0)
        return;
    Vec3 low = model.vertices[0];
    Vec3 high = low;
    for (uint32_t v = 1; v < model.num_vertices; ++v) {
        const Vec3& p = model.vertices[v];
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    Vec3 centre{centre_of(low.x, high.x), centre_of(low.y, high.y), centre_of(low.z, high.z)};
    for (uint32_t v = 0; v < model.num_vertices; ++v) {
        Vec3& p = model.vertices[v];
        p = {p.x - centre.x, p.y - centre.y, p.z - centre.z};
        model.vertex_alpha[v] = 1.0f;
    }
}

void name_textures(const OrfTextureList& textures) {
    model.num_textures = textures.count;
    for (uint32_t k = 0; k < textures.count; ++k) {
        TextureSlot& slot = model.textures[k];
        copy_bounded(slot.name, sizeof slot.name, orf_game_texture_name(textures.names[k]));
    }
}

// The texture list outlives clear_model; only this room's polygons mark slots as used.
void forget_references() {
    for (TextureSlot& slot : model.textures)
        slot.referenced = 0;
}

void read_room(std::span<const uint8_t> bytes) {
    OrfTextureList textures;
    read_chunks(bytes, textures);
    check_indices(textures);
    make_single_subobject();
    centre_vertices();
    average_vertex_normals();
    name_textures(textures);
    view.model_loaded = 1;
}

} // namespace

void load_orf() {
    forget_references();
    read_room(read_room_file());
}

void load_orf_bytes(std::span<const uint8_t> bytes) {
    forget_references();
    read_room(bytes);
}
