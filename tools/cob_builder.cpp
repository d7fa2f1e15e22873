// trueSpace file builder: the 32-byte header, 20-byte chunk headers and the chunk records.
#include "tools/cob_builder.h"

namespace {

void name_field(ByteWriter& out, std::string_view name) {
    out.u16(uint16_t(name.size()));
    out.text(name);
}

void axes(ByteWriter& out, Vec3 centre) {
    out.vec3(centre);
    out.vec3({1, 0, 0});
    out.vec3({0, 1, 0});
    out.vec3({0, 0, 1});
}

} // namespace

CobBuilder::CobBuilder(char kind) {
    std::string head = "Caligari V00.01BLH";
    head[15] = kind;
    head.resize(31, ' ');
    head += '\n';
    out_.text(head);
}

void CobBuilder::header(std::string_view tag, uint32_t id, uint32_t parent, uint32_t size) {
    out_.text(tag.substr(0, 4));
    out_.u16(0);
    out_.u16(8);
    out_.u32(id);
    out_.u32(parent);
    out_.u32(size);
}

uint32_t CobBuilder::chunk(std::string_view tag, const std::vector<uint8_t>& data,
                           uint32_t parent) {
    uint32_t id = next_id_++;
    header(tag, id, parent, uint32_t(data.size()));
    out_.bytes(data.data(), data.size());
    return id;
}

uint32_t CobBuilder::polh(const CobBuildPolh& polh, uint32_t parent) {
    return chunk("PolH", cob_polh_data(polh), parent);
}

uint32_t CobBuilder::mat1(const CobBuildMaterial& material, uint32_t parent) {
    ByteWriter data;
    data.u16(material.number);
    data.u8(0);  // shader type
    data.u8(0);  // facet type
    data.u8(32); // auto-facet angle
    data.f32(material.red);
    data.f32(material.green);
    data.f32(material.blue);
    data.f32(1.0f); // alpha
    data.f32(0.1f); // ambient
    data.f32(0.2f); // specular
    data.f32(0.3f); // exponent
    data.f32(1.0f); // index of refraction
    data.bytes(material.after.data(), material.after.size());
    return chunk("Mat1", data.take(), parent);
}

uint32_t CobBuilder::grou(std::string_view name, Vec3 centre, uint32_t parent) {
    ByteWriter data;
    data.u16(0);
    name_field(data, name);
    axes(data, centre);
    axes(data, centre); // current position
    return chunk("Grou", data.take(), parent);
}

void CobBuilder::end() {
    header("END ", 0, 0, 0);
}

std::vector<uint8_t> cob_polh_data(const CobBuildPolh& polh) {
    ByteWriter data;
    data.u16(0);
    name_field(data, polh.name);
    axes(data, {0, 0, 0});
    for (const auto& row : polh.matrix)
        for (float value : row)
            data.f32(value);
    data.u32(uint32_t(polh.vertices.size()));
    for (Vec3 v : polh.vertices)
        data.vec3(v);
    data.u32(uint32_t(polh.uvs.size()));
    for (const auto& uv : polh.uvs) {
        data.f32(uv[0]);
        data.f32(uv[1]);
    }
    data.u32(uint32_t(polh.faces.size()));
    for (const CobBuildFace& face : polh.faces) {
        data.u8(face.flags);
        data.u16(uint16_t(face.points.size()));
        if (!(face.flags & 8))
            data.u16(face.material);
        for (CobBuildPoint p : face.points) {
            data.u32(p.vertex);
            data.u32(p.uv);
        }
    }
    data.bytes(polh.trailer.data(), polh.trailer.size());
    return data.take();
}

std::vector<uint8_t> cob_texture_map(std::string_view file, float u_offset, float v_offset,
                                     float u_repeat, float v_repeat) {
    ByteWriter data;
    data.text("t:");
    data.u8(2);
    name_field(data, file);
    data.f32(u_offset);
    data.f32(v_offset);
    data.f32(u_repeat);
    data.f32(v_repeat);
    return data.take();
}

std::vector<uint8_t> cob_environment_map(std::string_view file) {
    ByteWriter data;
    data.text("e:");
    name_field(data, file);
    return data.take();
}

std::vector<uint8_t> cob_bump_map() {
    return {'b', ':'};
}

CobBuildPolh cob_single_face(const std::vector<Vec3>& vertices, uint16_t material) {
    CobBuildPolh polh;
    polh.vertices = vertices;
    polh.uvs = {{0.5f, 0.25f}};
    CobBuildFace face;
    face.material = material;
    for (uint32_t i = 0; i < vertices.size(); ++i)
        face.points.push_back({i, 0});
    polh.faces.push_back(face);
    return polh;
}

CobBuildPolh cob_triangle_faces(std::initializer_list<uint16_t> materials) {
    CobBuildPolh polh = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}});
    polh.faces.clear();
    for (uint16_t m : materials)
        polh.faces.push_back({{{0, 0}, {1, 0}, {2, 0}}, m});
    return polh;
}

CobBuildPolh cob_separate_faces(uint32_t n, uint32_t points) {
    CobBuildPolh polh;
    polh.uvs = {{0, 0}};
    for (uint32_t f = 0; f < n; ++f) {
        polh.faces.emplace_back();
        for (uint32_t k = 0; k < points; ++k) {
            polh.faces.back().points.push_back({uint32_t(polh.vertices.size()), 0});
            polh.vertices.push_back({float(f), float(k), 1});
        }
    }
    return polh;
}

std::vector<uint8_t> cob_polh_counts_only(uint32_t vertices, uint32_t uvs, uint32_t faces) {
    CobBuildPolh empty;
    empty.trailer.clear();
    std::vector<uint8_t> data = cob_polh_data(empty);
    data.resize(data.size() - 12);
    ByteWriter counts;
    for (uint32_t count : {vertices, uvs, faces})
        counts.u32(count);
    data.insert(data.end(), counts.data().begin(), counts.data().end());
    return data;
}

std::vector<uint8_t> cob_ended(CobBuilder cob) {
    cob.end();
    cob.polh(cob_triangle_faces({0}));
    return cob.bytes();
}

std::vector<uint8_t> cob_scene(const std::vector<CobBuildPolh>& polhs,
                               const std::vector<CobBuildMaterial>& materials, char kind) {
    CobBuilder cob(kind);
    for (const auto& polh : polhs)
        cob.polh(polh);
    for (const auto& material : materials)
        cob.mat1(material);
    return cob_ended(cob);
}

std::vector<uint8_t> cob_every_chunk_kind() {
    CobBuildPolh polh;
    polh.vertices = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}, {1, 1, 1}, {2, 0, 1}};
    polh.uvs = {{0.5f, 0.25f}, {1, 0}};
    polh.faces = {{{{0, 0}, {1, 1}, {2, 0}}, 1}, {{{2, 1}, {3, 0}, {4, 1}, {0, 0}}, 0, 8}};
    CobBuilder cob;
    cob.chunk("BitM", std::vector<uint8_t>(12, 0x55));
    uint32_t root = cob.grou("root", {1, 2, 3});
    cob.polh(polh, root);
    cob.mat1({1, 0.5f, 0.25f, 1, cob_texture_map("maps\\hull.bmp", 0.1f, 0.2f, 2, 3)});
    cob.polh(polh, cob.grou("arm", {4, 5, 6}, root));
    std::vector<uint8_t> maps = cob_environment_map("sky.bmp"),
                         texture = cob_texture_map("c:/x/arm.tga");
    maps.insert(maps.end(), {'b', ':', 'q', 'q'});
    maps.insert(maps.end(), texture.begin(), texture.end());
    cob.mat1({0, 1, 0, 0, maps});
    cob.mat1({1, 0, 1, 0, {0x99, 0x99, 0x19, 0x3f}});
    cob.chunk("Unit", {1, 0});
    cob.end();
    return cob.bytes();
}
