// Builds room (.orf) files chunk by chunk for tests, independently of the room writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
