// Builds binary trueSpace (.cob) files chunk by chunk, for tests.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "state/byte_writer.h"
#include "state/vec3.h"

struct CobBuildPoint {
    uint32_t vertex; // within its PolH
    uint32_t uv;
};

struct CobBuildFace {
    std::vector<CobBuildPoint> points;
    uint16_t material = 0;
    uint8_t flags = 0; // bit 3 (value 8): no material number is written
};

struct CobBuildPolh {
    std::string name;
    // Current position, row by row: three coefficients, then the translation.
    float matrix[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    std::vector<Vec3> vertices;
    std::vector<std::array<float, 2>> uvs;
    std::vector<CobBuildFace> faces;
    std::vector<uint8_t> trailer = {0, 0, 0, 0}; // bytes after the faces, as trueSpace writes
};

struct CobBuildMaterial {
    uint16_t number = 0;
    float red = 0, green = 0, blue = 0;
    std::vector<uint8_t> after; // sub-chunks or other bytes after the 37-byte record
};

class CobBuilder {
  public:
    // kind is header byte 15: 'B' for binary, 'A' for a text file.
    explicit CobBuilder(char kind = 'B');

    // Each chunk returns its id; parent 0 marks a top-level chunk.
    uint32_t polh(const CobBuildPolh& polh, uint32_t parent = 0);
    uint32_t mat1(const CobBuildMaterial& material, uint32_t parent = 0);
    uint32_t grou(std::string_view name, Vec3 centre, uint32_t parent = 0);
    uint32_t chunk(std::string_view tag, const std::vector<uint8_t>& data, uint32_t parent = 0);
    // A chunk header that states any size, followed by nothing.
    void header(std::string_view tag, uint32_t id, uint32_t parent, uint32_t size);
    void end();

    std::vector<uint8_t> bytes() const { return {out_.data().begin(), out_.data().end()}; }

  private:
    ByteWriter out_;
    uint32_t next_id_ = 1000;
};

// Mat1 sub-chunks: a texture map ("t:") with its parameters, an environment map ("e:"), a bump
// map ("b:").
std::vector<uint8_t> cob_texture_map(std::string_view file, float u_offset = 0, float v_offset = 0,
                                     float u_repeat = 1, float v_repeat = 1);
std::vector<uint8_t> cob_environment_map(std::string_view file);
std::vector<uint8_t> cob_bump_map();

// The data of a PolH chunk (without its header).
std::vector<uint8_t> cob_polh_data(const CobBuildPolh& polh);

// A PolH of one face over the given vertices, in order, with one texture coordinate.
CobBuildPolh cob_single_face(const std::vector<Vec3>& vertices, uint16_t material = 0);

// A PolH over the triangle (0, 0, 0), (0, -1, 0), (0, -1, 1) with one face per material number.
CobBuildPolh cob_triangle_faces(std::initializer_list<uint16_t> materials);
// n faces of `points` corners each over a PolH of n * points vertices, all used.
CobBuildPolh cob_separate_faces(uint32_t n, uint32_t points);
// The data of a PolH that states its counts but leaves its records out.
std::vector<uint8_t> cob_polh_counts_only(uint32_t vertices, uint32_t uvs, uint32_t faces);

// The chunks of cob, END, and a PolH after it that a reader must never reach.
std::vector<uint8_t> cob_ended(CobBuilder cob);
// The PolHs, then the materials, then cob_ended; kind as for CobBuilder.
std::vector<uint8_t> cob_scene(const std::vector<CobBuildPolh>& polhs,
                               const std::vector<CobBuildMaterial>& materials = {},
                               char kind = 'B');
// Every chunk kind the importer reads and some it skips: groups, PolHs with several faces and
// uvs, materials with texture, environment and bump maps and stray bytes.
std::vector<uint8_t> cob_every_chunk_kind();
