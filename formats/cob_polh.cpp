// read_polh: one trueSpace polygonal object: transformed vertices, texture coordinates, faces.
#include <cstdio>
#include <cstring>

#include "formats/cob_chunks.h"
#include "formats/cob_scene.h"
#include "state/prefault.h"

namespace {

struct PolhBases {
    uint32_t vertex_base;
    uint32_t vertex_count;
    uint32_t uv_base;
    uint32_t uv_count;
    uint32_t group;
};

// Light grey: the colour of a face whose material no Mat1 chunk of its PolH describes.
constexpr uint8_t UNDESCRIBED_GREY = 192;

void start_groupless_object() {
    CobScene& s = cob_scene;
    CobGroup& group = s.groups[0];
    std::strcpy(group.name, "None");
    group.parent = -1;
    s.num_groups = 1;
    s.groupless = 1;
}

Vec3 transformed(const float m[3][4], Vec3 p) {
    auto row = [&](int r) {
        return float(double(m[r][0]) * p.x + double(m[r][1]) * p.y + double(m[r][2]) * p.z +
                     m[r][3]);
    };
    return {row(0), row(1), row(2)};
}

void read_vertices(ByteCursor& data, const float m[3][4], uint32_t group) {
    CobScene& s = cob_scene;
    uint32_t count = data.u32();
    if (uint64_t(s.num_vertices) + count > COB_MAX_VERTICES)
        refuse_cob("cob: vertices > 10000... ouch");
    prefault_for_writing(s.vertices + s.num_vertices, count);
    for (uint32_t i = 0; i < count; ++i)
        s.vertices[s.num_vertices++] = {transformed(m, data.vec3()), group};
}

void read_uvs(ByteCursor& data) {
    CobScene& s = cob_scene;
    uint32_t count = data.u32();
    if (uint64_t(s.num_uvs) + count > COB_MAX_UVS)
        refuse_cob("cob: uvs > 20000... ouch");
    prefault_for_writing(s.uvs + s.num_uvs, count);
    for (uint32_t i = 0; i < count; ++i) {
        float u = data.f32();
        s.uvs[s.num_uvs++] = {u, data.f32()};
    }
}

void read_face(ByteCursor& data, CobFace& face, const PolhBases& bases) {
    uint8_t flags = data.u8();
    uint16_t points = data.u16();
    if (points > COB_MAX_FACE_POINTS)
        refuse_cob("cob: face points > 20... ouch");
    // Flag bit 3 means the file gives no material number.
    face.material = (flags & 8) ? COB_NO_MATERIAL : data.u16();
    face.num_points = points;
    for (uint32_t k = 0; k < points; ++k) {
        uint32_t vertex = data.u32();
        uint32_t uv = data.u32();
        if (vertex >= bases.vertex_count)
            refuse_cob("cob: vertex index > vertex count... ouch");
        if (uv >= bases.uv_count)
            refuse_cob("cob: uv index > uv count... ouch");
        face.vertex[k] = bases.vertex_base + vertex;
        face.uv[k] = bases.uv_base + uv;
    }
    face.group = bases.group;
    face.polh = cob_scene.num_polh;
    face.texture = 0;
    face.red = face.green = face.blue = UNDESCRIBED_GREY;
    face.textured = 0;
    face.material_slot = 0;
}

void read_faces(ByteCursor& data, const PolhBases& bases) {
    CobScene& s = cob_scene;
    uint32_t count = data.u32();
    if (uint64_t(s.num_faces) + count > COB_MAX_FACES)
        refuse_cob("cob: faces > 10000... ouch");
    prefault_for_writing(s.faces + s.num_faces, count);
    for (uint32_t i = 0; i < count; ++i)
        read_face(data, s.faces[s.num_faces++], bases);
}

} // namespace

void read_polh(ByteCursor& data) {
    CobScene& s = cob_scene;
    if (s.num_polh >= COB_MAX_POLH)
        refuse_cob("cob: PolH > 100... ouch");
    if (s.num_groups == 0)
        start_groupless_object();
    PolhBases bases{s.num_vertices, 0, s.num_uvs, 0, s.num_groups - 1};
    data.skip(2); // duplicate count
    data.skip(data.u16());
    data.skip(48); // local axes
    float m[3][4];
    for (auto& row : m)
        for (float& value : row)
            value = data.f32();
    read_vertices(data, m, bases.group);
    bases.vertex_count = s.num_vertices - bases.vertex_base;
    read_uvs(data);
    bases.uv_count = s.num_uvs - bases.uv_base;
    read_faces(data, bases);
    s.num_polh++;
    std::printf(" V=%d, P=%d, UV=%d, S=%d\n", int(s.num_vertices), int(s.num_faces), int(s.num_uvs),
                int(bases.group));
}
