// export_orf: exact bytes and lengths, model-space flattening, no fixed size limit, the round
// trip through load_orf.
#include <cstring>

#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "formats/orf_reader.h"
#include "formats/orf_writer.h"
#include "state/byte_cursor.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/orf_builder.h"
#include "tools/store_builder.h"

namespace {

class OrfWriterTest : public CoreTest {
  protected:
    std::vector<uint8_t> exported() {
        std::vector<uint8_t> bytes = export_orf_bytes();
        EXPECT_TRUE(sink.boxes.empty());
        return bytes;
    }
    // The export read back as a room.
    void reload() {
        std::vector<uint8_t> bytes = exported();
        clear_model();
        load_orf_bytes(bytes);
    }
    static std::vector<uint8_t> store_bytes() {
        const auto* raw = reinterpret_cast<const uint8_t*>(&model);
        return {raw, raw + sizeof model};
    }
};

Polygon& textured(uint32_t texture, std::initializer_list<uint32_t> corners, Vec3 normal) {
    Polygon& polygon = add_polygon(0, corners, normal);
    polygon.n_txtr = 1;
    polygon.texture = texture;
    return polygon;
}

OrfPolygon as_written(const Polygon& polygon) {
    OrfPolygon out{polygon.normal, 0, {}};
    for (uint32_t k = 0; k < polygon.num_points; ++k)
        out.points.push_back({int16_t(polygon.points[k]), polygon.u[k], polygon.v[k]});
    return out;
}

TEST_F(OrfWriterTest, ChunksComeInOrderWithExactLengthsAndThePlaceholderTexture) {
    add_subobject(-1, {0, 0, 0});
    add_vertex(0, {1, 2, 3});
    add_vertex(0, {-4, 5.5f, -6});
    add_vertex(0, {0, 0, 0});
    textured(3, {2, 0, 1}, {0, 0.6f, 0.8f});
    textured(1, {0, 1, 2, 1}, {1, 0, 0});
    model.num_textures = 4;
    std::strcpy(model.textures[3].name, "rock");
    auto expected = OrfBuilder()
                        .header(3, 2)
                        .vertices({{2049, -98, 2051}, {2044, -94.5f, 2042}, {2048, -100, 2048}})
                        .textures({"SAMPLE TEXTURE"})
                        .polygons({as_written(model.polygons[0]), as_written(model.polygons[1])})
                        .end()
                        .with_length(4)
                        .bytes();
    auto before = store_bytes();
    EXPECT_EQ(exported(), expected);
    EXPECT_EQ(expected.size(), 71u + 12 * 3 + (19 + 30 * 3) + (19 + 30 * 4));
    EXPECT_TRUE(store_bytes() == before) << "a write leaves the store unchanged";

    // Without polygons: an empty polygon chunk, then the end chunk.
    model.num_polygons = 0;
    auto bytes = exported();
    ASSERT_EQ(bytes.size(), 71u + 12 * 3);
    ByteCursor in{std::span(bytes).last(16)};
    for (uint32_t want : {2u, 0u, 3u, 4u})
        EXPECT_EQ(in.u32(), want);
}

TEST_F(OrfWriterTest, VerticesAreMovedByEveryAncestorOffsetBeforeTheShift) {
    add_subobject(-1, {0, 5, 0});
    add_subobject(0, {1, 0, 0});
    add_subobject(1, {0, 0, -2});
    // A parent stored after its child, and parents that loop or leave the table.
    add_subobject(4, {10, 0, 0});
    add_subobject(-1, {0, 20, 0});
    add_subobject(6, {0, 0, 1});
    add_subobject(5, {0, 0, 2});
    add_subobject(59, {0, 0, 4});
    for (int sobj : {1, 2, 3, 5, 7})
        add_vertex(sobj, {sobj == 2 ? 0.5f : 0, 0, 0});
    add_vertex(500, {1, 1, 1});
    auto bytes = exported();
    ByteCursor in(bytes);
    in.seek(8 + 12 + 8);
    for (Vec3 want : {Vec3{2049, -95, 2048}, Vec3{2049.5f, -95, 2046}, Vec3{2058, -80, 2048},
                      Vec3{2048, -100, 2051}, Vec3{2048, -100, 2052}, Vec3{2049, -99, 2049}})
        EXPECT_EQ(in.vec3(), want);
}

TEST_F(OrfWriterTest, LargestModelIsWrittenWhole) {
    fill_maximal_model();
    auto bytes = exported();
    ASSERT_EQ(bytes.size(), 71u + 12 * 4000 + 4000 * (19 + 30 * 25));
    ByteCursor in{std::span(bytes).last(8 + 30)};
    const Polygon& last = model.polygons[MAX_POLY - 1];
    EXPECT_EQ(in.u16(), last.points[24]);
    EXPECT_EQ(in.f32(), last.u[24]);
}

TEST_F(OrfWriterTest, RoundTripKeepsPolygonsCornersCoordinatesAndTheCentredShape) {
    add_subobject(-1, {3, 4, 5});
    add_subobject(0, {1, -2, 0.5f});
    add_vertex(0, {0, 0, 0});
    add_vertex(0, {2, 0, -1});
    add_vertex(1, {0, 3, 0});
    add_vertex(1, {-1.5f, 0.25f, 6});
    add_vertex(1, {4, 4, 4});
    textured(2, {0, 1, 2}, {0, 0, 1});
    textured(0, {2, 3, 4, 0}, {0.6f, 0, 0.8f});
    textured(1, {4, 1, 3}, {0, -1, 0});
    // Model-space positions, centred by hand: x spans 2.5..8, y 2.25..6, z 4..11.5.
    const Vec3 expected[] = {{-2.25f, -0.125f, -2.75f},
                             {-0.25f, -0.125f, -3.75f},
                             {-1.25f, 0.875f, -2.25f},
                             {-2.75f, -1.875f, 3.75f},
                             {2.75f, 1.875f, 1.75f}};
    Polygon polygons[3];
    std::memcpy(polygons, model.polygons, sizeof polygons);
    reload();
    ASSERT_EQ(model.num_vertices, 5u);
    for (uint32_t v = 0; v < 5; ++v)
        EXPECT_EQ(model.vertices[v], expected[v]) << v;
    ASSERT_EQ(model.num_polygons, 3u);
    for (uint32_t p = 0; p < 3; ++p) {
        const Polygon& got = model.polygons[p];
        ASSERT_EQ(got.num_points, polygons[p].num_points);
        EXPECT_EQ(got.normal, polygons[p].normal);
        EXPECT_EQ(got.texture, 0u);
        for (uint32_t k = 0; k < got.num_points; ++k) {
            EXPECT_EQ(got.points[k], polygons[p].points[k]);
            EXPECT_EQ(got.u[k], polygons[p].u[k]);
            EXPECT_EQ(got.v[k], polygons[p].v[k]);
        }
    }
    EXPECT_EQ(model.num_subobjects, 1u);
    ASSERT_EQ(model.num_textures, 1u);
    EXPECT_STREQ(model.textures[0].name, "SAMPLE TEXTURE");
    EXPECT_EQ(model.textures[0].referenced, 1);
    // A room read back is written again byte for byte.
    auto second = exported();
    reload();
    EXPECT_EQ(exported(), second);
}

// The polymodel reader keeps corners up to the end of the vertex table, past the model's own
// vertices. Either export writes such a corner as its subobject's first vertex, so the
// matching import reads the file back; a room without vertices has no corners.
TEST_F(OrfWriterTest, CornerOnNoVertexBecomesItsSubobjectsFirstVertexInEitherFormat) {
    struct Format {
        std::vector<uint8_t> (*write)();
        void (*read)(std::span<const uint8_t>);
    };
    for (Format f :
         {Format{export_orf_bytes, load_orf_bytes}, Format{export_oof_bytes, load_oof_bytes}}) {
        reset_globals();
        add_subobject(-1, {0, 0, 0});
        add_subobject(0, {1, 0, 0});
        add_vertex(0, {0, 0, 0});
        add_vertex(1, {1, 0, 0});
        add_vertex(1, {0, 1, 0});
        add_polygon(1, {1, 2, 3999});
        std::vector<uint8_t> bytes = f.write();
        clear_model();
        f.read(bytes);
        ASSERT_EQ(model.polygons[0].num_points, 3u);
        EXPECT_EQ(std::vector(model.polygons[0].points, model.polygons[0].points + 3),
                  (std::vector<uint32_t>{1, 2, 1}));
    }
    reset_globals();
    add_subobject(-1, {0, 0, 0});
    add_polygon(0, {0, 7});
    reload();
    ASSERT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(model.polygons[0].num_points, 0u);
}

} // namespace
