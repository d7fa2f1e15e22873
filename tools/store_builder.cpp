// Store fillers: subobjects, squares, texture slots and a model at every limit.
#include "tools/store_builder.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "state/vector_math.h"

uint32_t add_vertex(int sobj, Vec3 position, Vec3 normal) {
    uint32_t v = model.num_vertices++;
    model.vertices[v] = position;
    model.vertex_normals[v] = normal;
    model.vertex_alpha[v] = 1.0f;
    model.vertex_sobj[v] = uint16_t(sobj);
    return v;
}

Polygon& add_polygon(int sobj, std::initializer_list<uint32_t> corners, Vec3 normal) {
    Polygon& p = model.polygons[model.num_polygons++];
    p = Polygon{};
    p.sobj = uint32_t(sobj);
    p.normal = normal;
    for (uint32_t vertex : corners) {
        p.u[p.num_points] = 0.125f * float(p.num_points + 1);
        p.v[p.num_points] = -0.5f * float(p.num_points + vertex);
        p.points[p.num_points++] = vertex;
    }
    return p;
}

namespace {

Polygon& add_square(int sobj, Vec3 c, float half, Vec3 normal) {
    // Counter-clockwise seen from +Z; mirrored in X by the view they run clockwise on screen,
    // which is the front face.
    const float xs[4] = {-half, half, half, -half};
    const float ys[4] = {-half, -half, half, half};
    Polygon& p = model.polygons[model.num_polygons++];
    p = Polygon{};
    p.num_points = 4;
    p.sobj = uint32_t(sobj);
    p.normal = normal;
    for (int k = 0; k < 4; ++k) {
        p.points[k] = add_vertex(sobj, {c.x + xs[k], c.y + ys[k], c.z}, normal);
        // The viewer sees model +X on the left, so u grows toward model -X.
        p.u[k] = xs[k] < 0 ? 1.0f : 0.0f;
        p.v[k] = ys[k] < 0 ? 0.0f : 1.0f;
    }
    return p;
}

} // namespace

void add_mixed_squares() {
    int root = add_subobject(-1, {0, 0, 0}), child = add_subobject(root, {0, -30, 0});
    add_flat_square(root, {30, 30, 0}, 12, {200, 120, 40});
    Polygon& wrapped = model.polygons[add_textured_square(root, {0, 30, 0}, 12, 0)];
    for (int k = 0; k < 4; ++k) { // -1..2: the texture repeats three times across
        wrapped.u[k] = wrapped.u[k] * 3 - 1;
        wrapped.v[k] = wrapped.v[k] * 3 - 1;
    }
    add_textured_square(root, {-30, 30, 0}, 12, add_texture_slot("missing"));
    add_flat_square(root, {30, -30, -5}, 12, {0, 0, 255});
    for (uint32_t slot = 1; slot < 5; ++slot)
        add_textured_square(slot < 3 ? root : child, {slot * 20.0f - 60, 0, 0}, 9, slot);
    for (uint32_t i = 0; i < model.num_vertices; ++i)
        model.vertex_normals[i] =
            vec_normalize({0.4f * float(i % 3) - 0.4f, 0.3f * float(i % 2), 1});
    for (uint32_t i = 0; i < model.num_polygons; ++i)
        model.polygons[i].normal = vec_normalize({0.5f * float(i % 2), 0.2f * float(i % 3), 1});
}

int add_subobject(int parent, Vec3 offset) {
    int s = int(model.num_subobjects++);
    model.sobj_parent[s] = parent;
    model.sobj_offset[s] = offset;
    std::snprintf(model.sobj_name[s], SOBJ_STRING_LEN, "sobj%d", s);
    return s;
}

uint32_t add_flat_square(int sobj, Vec3 centre, float half, Rgb8 colour, Vec3 normal) {
    Polygon& p = add_square(sobj, centre, half, normal);
    p.n_txtr = 0;
    p.color = colour;
    return model.num_polygons - 1;
}

uint32_t add_textured_square(int sobj, Vec3 centre, float half, uint32_t slot, Vec3 normal) {
    Polygon& p = add_square(sobj, centre, half, normal);
    p.n_txtr = 1;
    p.texture = slot;
    return model.num_polygons - 1;
}

uint32_t add_texture_slot(const char* name) {
    uint32_t t = model.num_textures++;
    std::snprintf(model.textures[t].name, TEXTURE_NAME_LEN + 1, "%s", name);
    model.textures[t].referenced = 1;
    return t;
}

void fill_maximal_model(int corners) {
    model.num_subobjects = 0;
    model.num_textures = 0;
    model.num_vertices = 0;
    model.num_polygons = 0;
    for (int s = 0; s < MAX_SOBJ; ++s)
        add_subobject(s - 1, {0.5f, 0.25f, 0.0f});
    for (int t = 0; t < MAX_TEXTURE; ++t) {
        char name[16];
        std::snprintf(name, sizeof name, "tex%02d", t);
        add_texture_slot(name);
    }
    // Small rings of MAX_POLY_POINTS vertices on a 13 x 13 grid within 36 units of the origin.
    constexpr int num_rings = MAX_VECT / MAX_POLY_POINTS;
    for (int ring = 0; ring < num_rings; ++ring) {
        float cx = float(ring % 13 * 6 - 36), cy = float(ring / 13 * 6 - 36);
        for (int k = 0; k < MAX_POLY_POINTS; ++k) {
            double a = k * 2 * std::numbers::pi / MAX_POLY_POINTS;
            add_vertex(ring * MAX_SOBJ / num_rings,
                       {cx + float(2 * std::cos(a)), cy + float(2 * std::sin(a)), 0}, {0, 0, 1});
        }
    }
    for (int i = 0; i < MAX_POLY; ++i) {
        Polygon& p = model.polygons[model.num_polygons++];
        p = Polygon{};
        p.num_points = uint32_t(corners);
        p.sobj = uint32_t(i * MAX_SOBJ / MAX_POLY);
        p.n_txtr = uint32_t(i % 2);
        p.texture = uint32_t(i % MAX_TEXTURE);
        p.color = {uint8_t(i), uint8_t(i * 3), uint8_t(i * 7)};
        p.normal = {0, 0, 1};
        int ring = i % num_rings;
        // Corners spread evenly round the ring, so every polygon is a regular convex one.
        for (int k = 0; k < corners; ++k) {
            p.points[k] = uint32_t(ring * MAX_POLY_POINTS + k * MAX_POLY_POINTS / corners);
            p.u[k] = float(k) / float(corners);
            p.v[k] = 1.0f - p.u[k];
        }
    }
}
