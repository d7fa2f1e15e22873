// load_oof: every chunk into the store, the three layouts, rebasing, frames, texture flags,
// archive entries and the non-fatal messages.
#include <cstring>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

class OofReadTest : public CoreTest {
  protected:
    void load(const std::vector<uint8_t>& bytes) {
        std::strcpy(view.oof_path, dir.write("model.oof", bytes).c_str());
        load_oof(0);
    }
    size_t boxes_with(const std::string& text) const {
        size_t n = 0;
        for (const RecordedBox& box : sink.boxes)
            n += box.text == text;
        return n;
    }
};

OofSubobject subobject_with(uint32_t vertices, std::vector<OofPolygon> polygons = {}) {
    OofSubobject sobj;
    sobj.name = std::string("s") + '\0';
    for (uint32_t i = 0; i < vertices; ++i) {
        sobj.positions.push_back({float(i), float(i) + 0.5f, -float(i)});
        sobj.normals.push_back({0, 0, 1});
        sobj.alphas.push_back(0.5f);
    }
    sobj.polygons = std::move(polygons);
    return sobj;
}

OofPolygon triangle(uint32_t a, uint32_t b, uint32_t c) {
    OofPolygon poly;
    poly.corners = {{a, 0, 0}, {b, 1, 0}, {c, 0, 1}};
    return poly;
}

TEST_F(OofReadTest, HeaderOnlyFileIsAnEmptyLoadedModel) {
    model.num_vertices = 5;
    model.num_subobjects = 2;
    load(build_oof(2300, {}));
    EXPECT_EQ(model.num_vertices, 0u);
    EXPECT_EQ(model.num_polygons, 0u);
    EXPECT_EQ(model.num_subobjects, 0u);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(OofReadTest, EveryChunkKindFillsItsTables) {
    load(build_oof(2300, oof_every_chunk_kind(2300)));
    EXPECT_TRUE(sink.boxes.empty()) << last_text();

    ASSERT_EQ(model.num_textures, 2u);
    EXPECT_STREQ(model.textures[0].name, "hull");
    EXPECT_STREQ(model.textures[1].name, "glass");
    EXPECT_EQ(model.textures[0].referenced, 0);
    EXPECT_EQ(model.textures[1].referenced, 1);

    ASSERT_EQ(model.num_subobjects, 2u);
    EXPECT_STREQ(model.sobj_name[0], "body");
    EXPECT_STREQ(model.sobj_name[1], "turret");
    EXPECT_STREQ(model.sobj_props[1], "$rotate=5");
    EXPECT_EQ(model.sobj_parent[0], -1);
    EXPECT_EQ(model.sobj_parent[1], 0);
    EXPECT_EQ(model.sobj_offset[1], (Vec3{1, 2, 3}));
    EXPECT_EQ(model.sobj_num_verts[0], 4u);
    EXPECT_EQ(model.sobj_num_verts[1], 3u);
    EXPECT_EQ(model.sobj_num_polys[0], 2u);
    EXPECT_EQ(model.sobj_num_polys[1], 1u);

    ASSERT_EQ(model.num_vertices, 7u);
    EXPECT_EQ(model.vertices[2], (Vec3{4, 5, -3}));
    EXPECT_EQ(model.vertices[5], (Vec3{3, 0, 4}));
    EXPECT_EQ(model.vertex_normals[2], (Vec3{1, 0, 0}));
    EXPECT_EQ(model.vertex_alpha[1], 0.5f);
    EXPECT_EQ(model.vertex_alpha[6], 0.3f);
    EXPECT_EQ(model.vertex_sobj[3], 0);
    EXPECT_EQ(model.vertex_sobj[4], 1);

    ASSERT_EQ(model.num_polygons, 3u);
    const Polygon& quad = model.polygons[0];
    EXPECT_EQ(quad.num_points, 4u);
    EXPECT_EQ(quad.n_txtr, 1u);
    EXPECT_EQ(quad.texture, 1u);
    EXPECT_EQ(quad.normal, (Vec3{0, 0.6f, 0.8f}));
    EXPECT_EQ(quad.points[3], 3u);
    EXPECT_EQ(quad.u[2], 0.5f);
    EXPECT_EQ(quad.v[2], 0.6f);
    const Polygon& flat = model.polygons[1];
    EXPECT_EQ(flat.n_txtr, 0u);
    EXPECT_EQ(flat.color.red, 10);
    EXPECT_EQ(flat.color.green, 20);
    EXPECT_EQ(flat.color.blue, 30);
    EXPECT_EQ(flat.points[0], 3u);
    EXPECT_EQ(flat.sobj, 0u);
    const Polygon& tri = model.polygons[2];
    EXPECT_EQ(tri.sobj, 1u);
    EXPECT_EQ(tri.points[0], 4u);
    EXPECT_EQ(tri.points[2], 6u);
    EXPECT_EQ(tri.color.red, 200);

    ASSERT_EQ(model.num_special_points, 2u);
    EXPECT_STREQ(model.special_points.name[0], "engine");
    EXPECT_STREQ(model.special_points.properties[0], "$thrust");
    EXPECT_EQ(model.special_points.location[1], (Vec3{-4, -5, -6}));
    EXPECT_EQ(model.special_points.radius[1], 2.5f);

    ASSERT_EQ(model.num_gun_points, 2u);
    EXPECT_EQ(model.gun_points.submodel[0], 1u);
    EXPECT_EQ(model.gun_points.location[1], (Vec3{4, 5, 6}));
    EXPECT_EQ(model.gun_points.direction[1], (Vec3{0, 1, 0}));
    ASSERT_EQ(model.num_ground_points, 1u);
    EXPECT_EQ(model.ground_points.location[0], (Vec3{-1, -2, -3}));
    ASSERT_EQ(model.num_attach_points, 1u);
    EXPECT_EQ(model.attach_points.direction[0], (Vec3{1, 0, 0}));
    ASSERT_EQ(model.num_nath_points, 2u);
    EXPECT_EQ(model.nath_points.submodel[1], 1u);
    EXPECT_EQ(model.nath_points.location[1], (Vec3{0.5f, 0.25f, 0.125f}));

    ASSERT_EQ(model.num_batteries, 2u);
    EXPECT_EQ(model.batteries.num_guns[0], 2u);
    EXPECT_EQ(model.batteries.guns[0][1], 1u);
    EXPECT_EQ(model.batteries.num_turrets[0], 1u);
    EXPECT_EQ(model.batteries.turrets[0][0], 1u);
    EXPECT_EQ(model.batteries.num_guns[1], 1u);
    EXPECT_EQ(model.batteries.num_turrets[1], 0u);

    EXPECT_EQ(model.pos_first_key[0], 0u);
    EXPECT_EQ(model.pos_num_keys[0], 2u);
    EXPECT_EQ(model.pos_first_key[1], 2u);
    EXPECT_EQ(model.pos_num_keys[1], 1u);
    EXPECT_EQ(model.pos_key_frame[1], 2u);
    EXPECT_EQ(model.pos_key_pos[2], (Vec3{7, 8, 9}));
    EXPECT_EQ(model.rot_num_keys[0], 0u);
    EXPECT_EQ(model.rot_first_key[1], 0u);
    EXPECT_EQ(model.rot_num_keys[1], 2u);
    EXPECT_EQ(model.rot_key_frame[1], 9u);
    EXPECT_EQ(model.rot_key_axis[1], (Vec3{1, 0, 0}));
    EXPECT_EQ(model.rot_key_angle[1], 32760u);
    ASSERT_EQ(model.num_used_frames, 4u);
    EXPECT_EQ(model.used_frames[0], 2u);
    EXPECT_EQ(model.used_frames[3], 9u);

    EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
    // The load ends with the property pass and the loaded flag.
    EXPECT_EQ(model.sobj_rotate[1], 1);
    EXPECT_EQ(model.any_rotate, 1);
    EXPECT_EQ(view.model_loaded, 1);
}

// The same polygons read under each layout: a misread trailer or alpha block shifts every
// later field, so the second subobject's values would come out wrong.
TEST_F(OofReadTest, ThreeLayoutsByVersion) {
    for (uint32_t version : {1907u, 2200u, 2300u, 1u}) {
        SCOPED_TRACE(version);
        reset_globals();
        sink.boxes.clear();
        load(build_oof(version, oof_every_chunk_kind(version)));
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        ASSERT_EQ(model.num_polygons, 3u);
        EXPECT_EQ(model.polygons[2].color.green, 100);
        EXPECT_EQ(model.polygons[2].points[1], 5u);
        EXPECT_EQ(model.vertices[6], (Vec3{0, 5, 0}));
        EXPECT_EQ(model.vertex_alpha[4], version == 2300 ? 0.1f : 1.0f);
        EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
    }
}

TEST_F(OofReadTest, CornersAreRebasedOntoTheVerticesBeforeTheSubobject) {
    OofSubobject first = subobject_with(5), second = subobject_with(3);
    second.parent = 0;
    OofSubobject third = subobject_with(3, {triangle(0, 1, 2)});
    third.parent = 1;
    load(build_oof(2300, {oof_sobj(first, 2300), oof_sobj(second, 2300), oof_sobj(third, 2300)}));
    ASSERT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(model.polygons[0].points[0], 8u);
    EXPECT_EQ(model.polygons[0].points[1], 9u);
    EXPECT_EQ(model.polygons[0].points[2], 10u);
    EXPECT_EQ(model.polygons[0].sobj, 2u);
    EXPECT_EQ(model.vertex_sobj[8], 2);
    EXPECT_EQ(model.vertex_sobj[7], 1);
}

TEST_F(OofReadTest, UsedFramesAreSortedAndShared) {
    OofSubobject sobj = subobject_with(1);
    OofChunk pani = oof_pani({{{5, {}}, {2, {}}}, {{5, {}}}});
    load(build_oof(2300, {oof_sobj(sobj, 2300), oof_sobj(sobj, 2300), pani}));
    ASSERT_EQ(model.num_used_frames, 2u);
    EXPECT_EQ(model.used_frames[0], 2u);
    EXPECT_EQ(model.used_frames[1], 5u);
    EXPECT_EQ(model.frame_used[5], 1);
    EXPECT_EQ(model.frame_used[3], 0);

    // Rotation keys add their frames to the same list; a later chunk replaces the windows.
    reset_globals();
    OofChunk rani = oof_rani({{{3, {}, 0}}, {}});
    OofChunk pani2 = oof_pani({{}, {{7, {1, 1, 1}}}});
    load(build_oof(2300, {oof_sobj(sobj, 2300), oof_sobj(sobj, 2300), pani, rani, pani2}));
    ASSERT_EQ(model.num_used_frames, 4u);
    EXPECT_EQ(model.used_frames[1], 3u);
    EXPECT_EQ(model.used_frames[3], 7u);
    EXPECT_EQ(model.pos_num_keys[0], 0u);
    EXPECT_EQ(model.pos_first_key[1], 0u);
    EXPECT_EQ(model.pos_key_pos[0], (Vec3{1, 1, 1}));
}

TEST_F(OofReadTest, TextureListAndReferencedFlags) {
    OofPolygon textured = triangle(0, 1, 2);
    textured.n_txtr = 1;
    textured.texture = 2;
    OofChunk sobj = oof_sobj(subobject_with(3, {textured}), 2300);
    std::string full(36, 'x');
    load(build_oof(2300, {oof_txtr({"a", "b", full}), sobj}));
    ASSERT_EQ(model.num_textures, 3u);
    EXPECT_EQ(std::string(model.textures[2].name, 36), full) << "36 bytes fill the slot";
    EXPECT_EQ(model.textures[0].referenced, 0);
    EXPECT_EQ(model.textures[2].referenced, 1);

    // The next load reads a shorter list: the flags start clear and no old name shows through.
    load(build_oof(2300, {oof_txtr({"ab", std::string("c") + '\0'}), sobj}));
    EXPECT_STREQ(model.textures[0].name, "ab");
    EXPECT_EQ(model.textures[2].referenced, 1) << "texture 2 is outside the list but used";
    EXPECT_EQ(model.textures[1].referenced, 0);

    // A file without a texture list has none, not the previous model's.
    load(build_oof(2300, {oof_sobj(subobject_with(3, {triangle(0, 1, 2)}), 2300)}));
    EXPECT_EQ(model.num_textures, 0u);
    EXPECT_EQ(model.textures[2].referenced, 0);
}

TEST_F(OofReadTest, WrongChunkLengthIsReportedAndReadingGoesOnAtTheStatedEnd) {
    OofChunk ohdr = oof_ohdr(1, 1, {}, {});
    ohdr.data.resize(40, 0xEE);
    OofSubobject sobj = subobject_with(3, {triangle(0, 1, 2)});
    load(build_oof(2300, {ohdr, oof_sobj(sobj, 2300)}));
    EXPECT_EQ(boxes_with("Oof data is bad, chunk length wrong... ouch"), 1u);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(model.num_subobjects, 1u);
    EXPECT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(view.model_loaded, 1);

    // A stated length shorter than what the chunk holds: the record read past it stays, and
    // reading goes back to the stated end, where the next chunk begins.
    reset_globals();
    sink.boxes.clear();
    OofChunk gpnt = oof_points("GPNT", {{3, {}, {}}});
    gpnt.data.resize(4);
    load(build_oof(2300, {gpnt, oof_pinf("twenty-eight bytes of text..")}));
    EXPECT_EQ(boxes_with("Oof data is bad, chunk length wrong... ouch"), 1u);
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(model.num_gun_points, 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 0x464E4950u) << "the bytes \"PINF\"";
    EXPECT_STREQ(model.pinf_text, "twenty-eight bytes of text..");
}

TEST_F(OofReadTest, KeysWithoutSubobjectsReadNothing) {
    OofChunk pani = oof_pani({});
    load(build_oof(2300, {pani}));
    EXPECT_TRUE(sink.boxes.empty());
    pani.data.assign(12, 0);
    load(build_oof(2300, {pani}));
    EXPECT_EQ(boxes_with("Oof data is bad, chunk length wrong... ouch"), 1u);
    EXPECT_EQ(model.num_used_frames, 0u);
}

TEST_F(OofReadTest, SeveralTexturesOnOnePolygonIsANoteAndOneIndexIsRead) {
    OofPolygon multi = triangle(0, 1, 2);
    multi.n_txtr = 3;
    multi.texture = 1;
    OofPolygon after = triangle(2, 1, 0);
    after.red = 99;
    load(
        build_oof(2300, {oof_txtr({"a", "b"}), oof_sobj(subobject_with(3, {multi, after}), 2300)}));
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "INFO");
    EXPECT_EQ(last_text(), "n_txtr > 1...");
    EXPECT_EQ(model.polygons[0].n_txtr, 3u);
    EXPECT_EQ(model.polygons[0].texture, 1u);
    EXPECT_EQ(model.polygons[1].color.red, 99);
    EXPECT_EQ(model.polygons[1].points[0], 2u);
}

TEST_F(OofReadTest, ArchiveEntryIsReadUpToItsOwnEnd) {
    // The entry after the model holds bytes that are no chunk: reading past the model's end
    // would stop the program with "unknown datatype".
    auto oof = build_oof(2300, oof_every_chunk_kind(2300));
    std::vector<uint8_t> other = build_oof(2300, {oof_pinf("other")});
    std::strcpy(hog.hog_path,
                dir.write("models.hog", build_hog({{"first.oof", other},
                                                   {"readme.txt", {1, 2, 3}},
                                                   {"ship.oof", oof},
                                                   {"junk.bin", {'J', 'U', 'N', 'K'}}}))
                    .c_str());
    load_hog();
    ASSERT_EQ(hog.num_oof, 2u);
    load_oof(1);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(model.num_subobjects, 2u);
    EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
    load_oof(0);
    EXPECT_EQ(model.num_subobjects, 0u);
    EXPECT_STREQ(model.pinf_text, "other");
}

TEST_F(OofReadTest, PointListsAndTablesAreOverwrittenFromEntryZero) {
    load(build_oof(2300,
                   {oof_points("GPNT", {{1, {}, {}}, {2, {}, {}}}),
                    oof_points("GPNT", {{3, {}, {}}}), oof_pinf("long text"), oof_pinf("ab")}));
    EXPECT_EQ(model.num_gun_points, 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 3u);
    EXPECT_STREQ(model.pinf_text, "ab");
}

} // namespace
