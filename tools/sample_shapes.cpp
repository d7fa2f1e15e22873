// Store fillers for the sample models.
#include "tools/sample_shapes.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

Vec3 sub(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 unit(Vec3 a) {
    float n = std::sqrt(dot(a, a));
    return n > 0 ? Vec3{a.x / n, a.y / n, a.z / n} : Vec3{0, 0, 1};
}

// The two coordinates that lie across a face with this normal.
void across(Vec3 p, Vec3 normal, float& u, float& v) {
    float ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    if (ax >= ay && ax >= az) {
        u = p.z;
        v = p.y;
    } else if (ay >= az) {
        u = p.x;
        v = p.z;
    } else {
        u = p.x;
        v = p.y;
    }
    u /= 8.0f;
    v /= 8.0f;
}

void add_key_to(uint32_t* first, uint32_t* num, uint32_t total, int sobj) {
    // Keys are appended subobject by subobject, so a subobject's window starts at the total.
    if (num[sobj] == 0)
        first[sobj] = total;
    ++num[sobj];
}

uint32_t total_keys(const uint32_t* num) {
    uint32_t total = 0;
    for (uint32_t s = 0; s < model.num_subobjects; ++s)
        total += num[s];
    return total;
}

void add_point(uint32_t& count, PointList& list, uint32_t sobj, Vec3 location, Vec3 direction) {
    uint32_t i = count++;
    list.submodel[i] = sobj;
    list.location[i] = location;
    list.direction[i] = direction;
}

} // namespace

SampleSurface flat(uint8_t red, uint8_t green, uint8_t blue) {
    return {false, 0, {red, green, blue}};
}

SampleSurface textured(uint32_t slot) {
    return {true, slot, {0, 0, 0}};
}

void start_sample_model() {
    static const Polymodel empty{};
    model = empty;
}

int add_sample_subobject(const char* name, int parent, Vec3 offset, const char* props) {
    int s = static_cast<int>(model.num_subobjects++);
    model.sobj_parent[s] = parent;
    model.sobj_offset[s] = offset;
    std::snprintf(model.sobj_name[s], SOBJ_STRING_LEN, "%s", name);
    std::snprintf(model.sobj_props[s], SOBJ_STRING_LEN, "%s", props);
    return s;
}

uint32_t add_sample_texture(const char* name) {
    uint32_t t = model.num_textures++;
    std::snprintf(model.textures[t].name, TEXTURE_NAME_LEN + 1, "%s", name);
    model.textures[t].referenced = 1;
    return t;
}

void add_sample_polygon(int sobj, std::initializer_list<Vec3> corners, Vec3 outward,
                        SampleSurface surface) {
    Vec3 p[MAX_POLY_POINTS];
    uint32_t n = 0;
    for (Vec3 c : corners)
        p[n++] = c;
    Vec3 normal = unit(cross(sub(p[1], p[0]), sub(p[2], p[0])));
    if (dot(normal, outward) < 0) {
        for (uint32_t i = 0; i < n / 2; ++i)
            std::swap(p[i], p[n - 1 - i]);
        normal = {-normal.x, -normal.y, -normal.z};
    }
    Polygon& poly = model.polygons[model.num_polygons++];
    poly = Polygon{};
    poly.num_points = n;
    poly.sobj = static_cast<uint32_t>(sobj);
    poly.normal = normal;
    poly.n_txtr = surface.textured ? 1 : 0;
    poly.texture = surface.texture;
    poly.color = surface.colour;
    for (uint32_t k = 0; k < n; ++k) {
        uint32_t v = model.num_vertices++;
        model.vertices[v] = p[k];
        model.vertex_normals[v] = normal;
        model.vertex_alpha[v] = 1.0f;
        model.vertex_sobj[v] = static_cast<uint16_t>(sobj);
        poly.points[k] = v;
        across(p[k], normal, poly.u[k], poly.v[k]);
    }
}

void add_sample_box(int sobj, Vec3 c, Vec3 h, SampleSurface surface) {
    for (int sign : {-1, 1}) {
        float x = c.x + sign * h.x, y = c.y + sign * h.y, z = c.z + sign * h.z;
        add_sample_polygon(sobj,
                           {{x, c.y - h.y, c.z - h.z},
                            {x, c.y + h.y, c.z - h.z},
                            {x, c.y + h.y, c.z + h.z},
                            {x, c.y - h.y, c.z + h.z}},
                           {float(sign), 0, 0}, surface);
        add_sample_polygon(sobj,
                           {{c.x - h.x, y, c.z - h.z},
                            {c.x + h.x, y, c.z - h.z},
                            {c.x + h.x, y, c.z + h.z},
                            {c.x - h.x, y, c.z + h.z}},
                           {0, float(sign), 0}, surface);
        add_sample_polygon(sobj,
                           {{c.x - h.x, c.y - h.y, z},
                            {c.x + h.x, c.y - h.y, z},
                            {c.x + h.x, c.y + h.y, z},
                            {c.x - h.x, c.y + h.y, z}},
                           {0, 0, float(sign)}, surface);
    }
}

void add_sample_prism(int sobj, Vec3 base, float radius, float height, int sides,
                      SampleSurface surface) {
    auto rim = [&](int i, float y) {
        double a = 2 * std::numbers::pi * i / sides;
        return Vec3{base.x + radius * float(std::cos(a)), y, base.z + radius * float(std::sin(a))};
    };
    float bottom = base.y, top = base.y + height;
    for (int i = 0; i < sides; ++i) {
        Vec3 mid = rim(i, bottom);
        Vec3 next = rim(i + 1, bottom);
        Vec3 outward{(mid.x + next.x) / 2 - base.x, 0, (mid.z + next.z) / 2 - base.z};
        add_sample_polygon(sobj, {rim(i, bottom), rim(i + 1, bottom), rim(i + 1, top), rim(i, top)},
                           outward, surface);
    }
    // Caps as fans of triangles keep every polygon within the corner limit.
    for (int i = 0; i < sides; ++i) {
        add_sample_polygon(sobj, {Vec3{base.x, top, base.z}, rim(i, top), rim(i + 1, top)},
                           {0, 1, 0}, surface);
        add_sample_polygon(sobj, {Vec3{base.x, bottom, base.z}, rim(i, bottom), rim(i + 1, bottom)},
                           {0, -1, 0}, surface);
    }
}

void add_sample_panel(int sobj, Vec3 c, float h, Vec3 normal, SampleSurface surface) {
    bool across_x = std::fabs(normal.x) > std::fabs(normal.z);
    auto corner = [&](float a, float b) {
        return across_x ? Vec3{c.x, c.y + b, c.z + a} : Vec3{c.x + a, c.y + b, c.z};
    };
    for (float side : {1.0f, -1.0f})
        add_sample_polygon(sobj, {corner(-h, -h), corner(h, -h), corner(h, h), corner(-h, h)},
                           {normal.x * side, normal.y * side, normal.z * side}, surface);
}

void add_position_key(int sobj, uint32_t frame, Vec3 position) {
    uint32_t i = total_keys(model.pos_num_keys);
    add_key_to(model.pos_first_key, model.pos_num_keys, i, sobj);
    model.pos_key_frame[i] = frame;
    model.pos_key_pos[i] = position;
}

void add_rotation_key(int sobj, uint32_t frame, Vec3 axis, float degrees) {
    uint32_t i = total_keys(model.rot_num_keys);
    add_key_to(model.rot_first_key, model.rot_num_keys, i, sobj);
    model.rot_key_frame[i] = frame;
    model.rot_key_axis[i] = axis;
    model.rot_key_angle[i] = static_cast<uint32_t>(std::lround(degrees * 182));
}

void add_gun_point(uint32_t sobj, Vec3 location, Vec3 direction) {
    add_point(model.num_gun_points, model.gun_points, sobj, location, direction);
}

void add_ground_point(uint32_t sobj, Vec3 location) {
    add_point(model.num_ground_points, model.ground_points, sobj, location, {0, -1, 0});
}

void add_attach_point(uint32_t sobj, Vec3 location, Vec3 direction) {
    add_point(model.num_attach_points, model.attach_points, sobj, location, direction);
}

void add_nath_point(uint32_t sobj, Vec3 location, Vec3 direction) {
    add_point(model.num_nath_points, model.nath_points, sobj, location, direction);
}

void add_special_point(const char* name, const char* properties, Vec3 location, float radius) {
    uint32_t i = model.num_special_points++;
    std::snprintf(model.special_points.name[i], SPECIAL_STRING_LEN, "%s", name);
    std::snprintf(model.special_points.properties[i], SPECIAL_STRING_LEN, "%s", properties);
    model.special_points.location[i] = location;
    model.special_points.radius[i] = radius;
}

void add_battery(std::initializer_list<uint32_t> guns, std::initializer_list<uint32_t> turrets) {
    uint32_t b = model.num_batteries++;
    for (uint32_t g : guns)
        model.batteries.guns[b][model.batteries.num_guns[b]++] = g;
    for (uint32_t t : turrets)
        model.batteries.turrets[b][model.batteries.num_turrets[b]++] = t;
}
