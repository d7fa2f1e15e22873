// Builds room (.orf) files chunk by chunk for tests, independently of the room writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/polymodel.h"
#include "state/vec3.h"

struct OrfPoint {
    int16_t vertex;
    float u;
    float v;
};

struct OrfPolygon {
    Vec3 normal;
    int16_t texture;
    std::vector<OrfPoint> points; // the stored point count is points.size()
};

// Each call appends one chunk whose length field holds the exact body size; with_length
// overwrites the length field of the chunk appended last.
class OrfBuilder {
  public:
    OrfBuilder& header(uint32_t num_vertices, uint32_t num_polygons);
    OrfBuilder& vertices(const std::vector<Vec3>& positions);
    // Each name is stored with its NUL; the count is names.size().
    OrfBuilder& textures(const std::vector<std::string>& names);
    OrfBuilder& polygons(const std::vector<OrfPolygon>& polygons);
    OrfBuilder& end();
    // A chunk of any type with the given body bytes.
    OrfBuilder& chunk(uint32_t type, const std::vector<uint8_t>& body);
    OrfBuilder& with_length(uint32_t length);
    // Bytes appended as they are, outside any chunk.
    OrfBuilder& raw(const std::vector<uint8_t>& bytes);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    size_t last_length_at_ = 0;
};

// A whole room in the order header, texture list, vertices, polygons, end; counts from the
// vectors.
std::vector<uint8_t> build_orf(const std::vector<Vec3>& vertices,
                               const std::vector<std::string>& textures,
                               const std::vector<OrfPolygon>& polygons);

// A room of five vertices, three textures (one a translated name, one with folders) and three
// polygons, one a quad.
std::vector<uint8_t> orf_sample_room();

// A triangle over vertices a, b and c, with uvs (0.25, 0.5), (0.75, 1) and (1.25, 1.5).
OrfPolygon orf_triangle(int16_t texture, int16_t a, int16_t b, int16_t c, Vec3 normal = {0, 0, 1});
// A polygon of the store with its texture index and corners.
OrfPolygon orf_polygon_of(const Polygon& polygon);
// The store's vertices, texture names and polygons as a room, through build_orf.
std::vector<uint8_t> orf_of_store();
// A room as the room writer lays it out: the one texture "SAMPLE TEXTURE", which every polygon
// uses, and the end chunk stating 4 bytes.
std::vector<uint8_t> orf_written_room(const std::vector<Vec3>& vertices,
                                      std::vector<OrfPolygon> polygons);
