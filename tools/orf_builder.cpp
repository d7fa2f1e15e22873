// Room file builder: every field written by hand, so the reader is checked against the layout
// rather than against the room writer.
#include "tools/orf_builder.h"

#include <span>

#include "state/byte_writer.h"

namespace {

std::vector<uint8_t> header_body(uint32_t num_vertices, uint32_t num_polygons) {
    ByteWriter out;
    out.u32(4);
    out.u32(num_vertices);
    out.u32(num_polygons);
    return out.take();
}

std::vector<uint8_t> vertex_body(const std::vector<Vec3>& positions) {
    ByteWriter out;
    for (const Vec3& p : positions) {
        out.f32(p.x);
        out.f32(p.y);
        out.f32(p.z);
    }
    return out.take();
}

std::vector<uint8_t> texture_body(const std::vector<std::string>& names) {
    ByteWriter out;
    out.u32(uint32_t(names.size()));
    for (const std::string& name : names) {
        out.text(name);
        out.u8(0);
    }
    return out.take();
}

std::vector<uint8_t> polygon_body(const std::vector<OrfPolygon>& polygons) {
    ByteWriter out;
    for (const OrfPolygon& polygon : polygons) {
        out.u8(4);
        out.u32(uint32_t(polygon.points.size()));
        out.f32(polygon.normal.x);
        out.f32(polygon.normal.y);
        out.f32(polygon.normal.z);
        out.i16(polygon.texture);
        for (const OrfPoint& point : polygon.points) {
            out.i16(point.vertex);
            out.f32(point.u);
            out.f32(point.v);
            out.zeros(20);
        }
    }
    return out.take();
}

} // namespace

OrfBuilder& OrfBuilder::chunk(uint32_t type, const std::vector<uint8_t>& body) {
    ByteWriter out;
    out.u32(type);
    out.u32(uint32_t(body.size()));
    out.bytes(body.data(), body.size());
    last_length_at_ = bytes_.size() + 4;
    bytes_.insert(bytes_.end(), out.data().begin(), out.data().end());
    return *this;
}

OrfBuilder& OrfBuilder::header(uint32_t num_vertices, uint32_t num_polygons) {
    return chunk(5, header_body(num_vertices, num_polygons));
}

OrfBuilder& OrfBuilder::vertices(const std::vector<Vec3>& positions) {
    return chunk(1, vertex_body(positions));
}

OrfBuilder& OrfBuilder::textures(const std::vector<std::string>& names) {
    return chunk(4, texture_body(names));
}

OrfBuilder& OrfBuilder::polygons(const std::vector<OrfPolygon>& polygons) {
    return chunk(2, polygon_body(polygons));
}

OrfBuilder& OrfBuilder::end() {
    return chunk(3, {});
}

OrfBuilder& OrfBuilder::with_length(uint32_t length) {
    for (int i = 0; i < 4; ++i)
        bytes_.at(last_length_at_ + i) = uint8_t(length >> (8 * i));
    return *this;
}

OrfBuilder& OrfBuilder::raw(const std::vector<uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> build_orf(const std::vector<Vec3>& vertices,
                               const std::vector<std::string>& textures,
                               const std::vector<OrfPolygon>& polygons) {
    return OrfBuilder()
        .header(uint32_t(vertices.size()), uint32_t(polygons.size()))
        .textures(textures)
        .vertices(vertices)
        .polygons(polygons)
        .end()
        .bytes();
}

std::vector<uint8_t> orf_sample_room() {
    return build_orf({{10, 0, -5}, {12, 1, -5}, {11, 3, -2}, {9, 2, 0}, {10, 1, 1}},
                     {"maps\\brick.bmp", "ROCK0030.OGF1", "plain"},
                     {{{0, 0, 1}, 0, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}}},
                      {{0, 1, 0}, 2, {{1, 0.5f, 0}, {2, 0, 0.5f}, {3, 1, 1}, {4, 0, 1}}},
                      {{1, 0, 0}, 1, {{4, 0, 0}, {3, 1, 0}, {0, 1, 1}}}});
}

OrfPolygon orf_triangle(int16_t texture, int16_t a, int16_t b, int16_t c, Vec3 normal) {
    return {normal, texture, {{a, 0.25f, 0.5f}, {b, 0.75f, 1.0f}, {c, 1.25f, 1.5f}}};
}

OrfPolygon orf_polygon_of(const Polygon& polygon) {
    OrfPolygon out{polygon.normal, int16_t(polygon.texture), {}};
    for (uint32_t k = 0; k < polygon.num_points; ++k)
        out.points.push_back({int16_t(polygon.points[k]), polygon.u[k], polygon.v[k]});
    return out;
}

std::vector<uint8_t> orf_of_store() {
    std::vector<std::string> names;
    for (const auto& t : std::span(model.textures, model.num_textures))
        names.push_back(t.name);
    std::vector<OrfPolygon> polygons;
    for (const Polygon& p : std::span(model.polygons, model.num_polygons))
        polygons.push_back(orf_polygon_of(p));
    return build_orf({model.vertices, model.vertices + model.num_vertices}, names, polygons);
}

std::vector<uint8_t> orf_written_room(const std::vector<Vec3>& vertices,
                                      std::vector<OrfPolygon> polygons) {
    for (OrfPolygon& polygon : polygons)
        polygon.texture = 0;
    return OrfBuilder()
        .header(uint32_t(vertices.size()), uint32_t(polygons.size()))
        .vertices(vertices)
        .textures({"SAMPLE TEXTURE"})
        .polygons(polygons)
        .end()
        .with_length(4)
        .bytes();
}
