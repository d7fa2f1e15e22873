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

const std::string kBadLength = "Oof data is bad, chunk length wrong... ouch";

template <class T> std::vector<T> first(const T* values, size_t n) {
    return {values, values + n};
}
using U32s = std::vector<uint32_t>;

class OofReadTest : public CoreTest {
  protected:
    void load(const std::vector<OofChunk>& chunks, uint32_t version = 2300) {
        sink.boxes.clear();
        std::strcpy(view.oof_path, dir.write("model.oof", build_oof(version, chunks)).c_str());
        load_oof(0);
    }
    size_t boxes_with(const std::string& text) const {
        size_t n = 0;
        for (const RecordedBox& box : sink.boxes)
            n += box.text == text;
        return n;
    }
};

OofChunk sobj_with(uint32_t vertices, std::vector<U32s> triangles = {}, int32_t parent = -1) {
    OofSubobject sobj;
    sobj.name = std::string("s") + '\0';
    sobj.parent = parent;
    for (uint32_t i = 0; i < vertices; ++i) {
        sobj.positions.push_back({float(i), float(i) + 0.5f, -float(i)});
        sobj.normals.push_back({0, 0, 1});
        sobj.alphas.push_back(0.5f);
    }
    for (const U32s& t : triangles)
        sobj.polygons.push_back({.corners = {{t[0], 0, 0}, {t[1], 1, 0}, {t[2], 0, 1}}});
    return oof_sobj(sobj, 2300);
}

// A file with no subobjects empties the store; keys without subobjects read nothing, so a
// key chunk with data has a wrong length; a later chunk of a kind replaces the earlier one.
TEST_F(OofReadTest, EmptyModelsKeysWithoutSubobjectsAndRepeatedChunks) {
    model.num_vertices = 5;
    model.num_subobjects = 2;
    OofChunk pani = oof_pani({});
    load({pani});
    EXPECT_EQ(model.num_vertices + model.num_polygons + model.num_subobjects, 0u);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_TRUE(sink.boxes.empty());
    pani.data.assign(12, 0);
    load({pani});
    EXPECT_EQ(boxes_with(kBadLength), 1u);
    EXPECT_EQ(model.num_used_frames, 0u);

    load({oof_points("GPNT", {{1, {}, {}}, {2, {}, {}}}), oof_points("GPNT", {{3, {}, {}}}),
          oof_pinf("long text"), oof_pinf("ab")});
    EXPECT_EQ(model.num_gun_points, 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 3u);
    EXPECT_STREQ(model.pinf_text, "ab");
}

// The three layouts by version: a misread polygon trailer or alpha block shifts every later
// field, so the second subobject's values and the chunks after it would come out wrong.
TEST_F(OofReadTest, EveryChunkKindFillsItsTablesInEachLayout) {
    for (uint32_t version : {2300u, 1907u, 2200u, 1u}) {
        SCOPED_TRACE(version);
        reset_globals();
        load(oof_every_chunk_kind(version), version);
        bool alpha = version == 2300; // the other layouts store none: read as 1
        EXPECT_TRUE(sink.boxes.empty()) << last_text();

        ASSERT_EQ(model.num_textures, 2u);
        EXPECT_STREQ(model.textures[0].name, "hull");
        EXPECT_STREQ(model.textures[1].name, "glass");
        EXPECT_EQ(model.textures[0].referenced + 2 * model.textures[1].referenced, 2);

        ASSERT_EQ(model.num_subobjects, 2u);
        EXPECT_STREQ(model.sobj_name[0], "body");
        EXPECT_STREQ(model.sobj_name[1], "turret");
        EXPECT_STREQ(model.sobj_props[1], "$rotate=5");
        EXPECT_EQ(first(model.sobj_parent, 2), (std::vector<int32_t>{-1, 0}));
        EXPECT_EQ(model.sobj_offset[1], (Vec3{1, 2, 3}));
        EXPECT_EQ(first(model.sobj_num_verts, 2), (U32s{4, 3}));
        EXPECT_EQ(first(model.sobj_num_polys, 2), (U32s{2, 1}));

        ASSERT_EQ(model.num_vertices, 7u);
        EXPECT_EQ(model.vertices[2], (Vec3{4, 5, -3}));
        EXPECT_EQ(model.vertices[5], (Vec3{3, 0, 4}));
        EXPECT_EQ(model.vertex_normals[2], (Vec3{1, 0, 0}));
        EXPECT_EQ(model.vertex_alpha[1], alpha ? 0.5f : 1);
        EXPECT_EQ(model.vertex_alpha[4], alpha ? 0.1f : 1);
        EXPECT_EQ(model.vertex_alpha[6], alpha ? 0.3f : 1);
        EXPECT_EQ(model.vertices[6], (Vec3{0, 5, 0}));
        EXPECT_EQ(first(model.vertex_sobj + 3, 2), (std::vector<uint16_t>{0, 1}));

        ASSERT_EQ(model.num_polygons, 3u);
        const Polygon &quad = model.polygons[0], &flat = model.polygons[1],
                      &tri = model.polygons[2];
        EXPECT_EQ((U32s{quad.num_points, quad.n_txtr, quad.texture, quad.points[3]}),
                  (U32s{4, 1, 1, 3}));
        EXPECT_EQ(quad.normal, (Vec3{0, 0.6f, 0.8f}));
        EXPECT_EQ(quad.u[2], 0.5f);
        EXPECT_EQ(quad.v[2], 0.6f);
        EXPECT_EQ((U32s{flat.n_txtr, flat.color.red, flat.color.green, flat.color.blue,
                        flat.points[0], flat.sobj}),
                  (U32s{0, 10, 20, 30, 3, 0}));
        EXPECT_EQ((U32s{tri.sobj, tri.points[0], tri.points[1], tri.points[2], tri.color.red,
                        tri.color.green}),
                  (U32s{1, 4, 5, 6, 200, 100}));

        ASSERT_EQ(model.num_special_points, 2u);
        EXPECT_STREQ(model.special_points.name[0], "engine");
        EXPECT_STREQ(model.special_points.properties[0], "$thrust");
        EXPECT_EQ(model.special_points.location[1], (Vec3{-4, -5, -6}));
        EXPECT_EQ(model.special_points.radius[1], 2.5f);

        EXPECT_EQ((U32s{model.num_gun_points, model.num_ground_points, model.num_attach_points,
                        model.num_nath_points}),
                  (U32s{2, 1, 1, 2}));
        EXPECT_EQ(model.gun_points.submodel[0], 1u);
        EXPECT_EQ(model.gun_points.location[1], (Vec3{4, 5, 6}));
        EXPECT_EQ(model.gun_points.direction[1], (Vec3{0, 1, 0}));
        EXPECT_EQ(model.ground_points.location[0], (Vec3{-1, -2, -3}));
        EXPECT_EQ(model.attach_points.direction[0], (Vec3{1, 0, 0}));
        EXPECT_EQ(model.nath_points.submodel[1], 1u);
        EXPECT_EQ(model.nath_points.location[1], (Vec3{0.5f, 0.25f, 0.125f}));

        const WeaponBattery& bat = model.batteries;
        ASSERT_EQ(model.num_batteries, 2u);
        EXPECT_EQ((U32s{bat.num_guns[0], bat.guns[0][1], bat.num_turrets[0], bat.turrets[0][0],
                        bat.num_guns[1], bat.num_turrets[1]}),
                  (U32s{2, 1, 1, 1, 1, 0}));

        EXPECT_EQ(first(model.pos_first_key, 2), (U32s{0, 2}));
        EXPECT_EQ(first(model.pos_num_keys, 2), (U32s{2, 1}));
        EXPECT_EQ(model.pos_key_frame[1], 2u);
        EXPECT_EQ(model.pos_key_pos[2], (Vec3{7, 8, 9}));
        EXPECT_EQ(first(model.rot_num_keys, 2), (U32s{0, 2}));
        EXPECT_EQ(model.rot_first_key[1], 0u);
        EXPECT_EQ(model.rot_key_frame[1], 9u);
        EXPECT_EQ(model.rot_key_axis[1], (Vec3{1, 0, 0}));
        EXPECT_EQ(model.rot_key_angle[1], 32760u);
        ASSERT_EQ(model.num_used_frames, 4u);
        EXPECT_EQ(model.used_frames[0], 2u);
        EXPECT_EQ(model.used_frames[3], 9u);

        EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
        // The load ends with the property pass and the loaded flag.
        EXPECT_EQ(model.sobj_rotate[1] + model.any_rotate + view.model_loaded, 3);
    }
}

TEST_F(OofReadTest, CornersAreRebasedOntoTheVerticesBeforeTheSubobject) {
    load({sobj_with(5), sobj_with(3, {}, 0), sobj_with(3, {{0, 1, 2}}, 1)});
    ASSERT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(first(model.polygons[0].points, 3), (U32s{8, 9, 10}));
    EXPECT_EQ(model.polygons[0].sobj, 2u);
    EXPECT_EQ(first(model.vertex_sobj + 7, 2), (std::vector<uint16_t>{1, 2}));
}

TEST_F(OofReadTest, UsedFramesAreSortedAndShared) {
    OofChunk pani = oof_pani({{{5, {}}, {2, {}}}, {{5, {}}}});
    load({sobj_with(1), sobj_with(1), pani});
    EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 5}));
    EXPECT_EQ(model.frame_used[5], 1);
    EXPECT_EQ(model.frame_used[3], 0);

    // Rotation keys add their frames to the same list; a later chunk replaces the windows.
    reset_globals();
    load({sobj_with(1), sobj_with(1), pani, oof_rani({{{3, {}, 0}}, {}}),
          oof_pani({{}, {{7, {1, 1, 1}}}})});
    EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 3, 5, 7}));
    EXPECT_EQ(model.pos_num_keys[0] + model.pos_first_key[1], 0u);
    EXPECT_EQ(model.pos_key_pos[0], (Vec3{1, 1, 1}));
}

TEST_F(OofReadTest, TextureListAndReferencedFlags) {
    OofSubobject textured;
    textured.positions.resize(3);
    textured.polygons.push_back({.n_txtr = 1, .texture = 2, .corners = {{0, 0, 0}}});
    OofChunk sobj = oof_sobj(textured, 2300);
    std::string full(36, 'x');
    load({oof_txtr({"a", "b", full}), sobj});
    ASSERT_EQ(model.num_textures, 3u);
    EXPECT_EQ(std::string(model.textures[2].name, 36), full) << "36 bytes fill the slot";
    EXPECT_EQ(model.textures[0].referenced, 0);
    EXPECT_EQ(model.textures[2].referenced, 1);

    // The next load reads a shorter list: the flags start clear and no old name shows through.
    load({oof_txtr({"ab", std::string("c") + '\0'}), sobj});
    EXPECT_STREQ(model.textures[0].name, "ab");
    EXPECT_EQ(model.textures[2].referenced, 1) << "texture 2 is outside the list but used";
    EXPECT_EQ(model.textures[1].referenced, 0);

    // A file without a texture list has none, not the previous model's.
    load({sobj_with(3, {{0, 1, 2}})});
    EXPECT_EQ(model.num_textures, 0u);
    EXPECT_EQ(model.textures[2].referenced, 0);
}

TEST_F(OofReadTest, WrongChunkLengthIsReportedAndReadingGoesOnAtTheStatedEnd) {
    OofChunk ohdr = oof_ohdr(1, 1, {}, {});
    ohdr.data.resize(40, 0xEE);
    load({ohdr, sobj_with(3, {{0, 1, 2}})});
    EXPECT_EQ(boxes_with(kBadLength), 1u);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(model.num_subobjects + model.num_polygons, 2u);
    EXPECT_EQ(view.model_loaded, 1);

    // A stated length shorter than what the chunk holds: the record read past it stays, and
    // reading goes back to the stated end, where the next chunk begins.
    reset_globals();
    OofChunk gpnt = oof_points("GPNT", {{3, {}, {}}});
    gpnt.data.resize(4);
    load({gpnt, oof_pinf("twenty-eight bytes of text..")});
    EXPECT_EQ(boxes_with(kBadLength), 1u);
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(model.num_gun_points, 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 0x464E4950u) << "the bytes \"PINF\"";
    EXPECT_STREQ(model.pinf_text, "twenty-eight bytes of text..");
}

TEST_F(OofReadTest, SeveralTexturesOnOnePolygonIsANoteAndOneIndexIsRead) {
    OofSubobject sobj;
    sobj.positions.resize(3);
    sobj.polygons = {{.n_txtr = 3, .texture = 1, .corners = {{0, 0, 0}, {1, 0, 0}}},
                     {.red = 99, .corners = {{2, 0, 0}}}};
    load({oof_txtr({"a", "b"}), oof_sobj(sobj, 2300)});
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

} // namespace
