// load_oof: every chunk into the store in the three layouts, rebasing, frames, texture flags,
// chunk lengths, archive entries, and every refusal with its text and status, each limit at its
// value and one past it.
#include <cstring>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

using U32s = std::vector<uint32_t>;
using Chunks = std::vector<OofChunk>;

const std::string BAD_LENGTH = "Oof data is bad, chunk length wrong... ouch";

template <class T> std::vector<T> first(const T* values, size_t n) {
    return {values, values + n};
}

// A subobject of `vertices` vertices with one polygon per corner list.
OofSubobject subobject(uint32_t vertices, std::vector<U32s> polygons = {}, int32_t parent = -1) {
    OofSubobject sobj;
    sobj.name = std::string("s") + '\0';
    sobj.parent = parent;
    for (uint32_t i = 0; i < vertices; ++i) {
        sobj.positions.push_back({float(i), float(i) + 0.5f, -float(i)});
        sobj.normals.push_back({0, 0, 1});
    }
    for (const U32s& corners : polygons) {
        sobj.polygons.emplace_back();
        for (uint32_t c : corners)
            sobj.polygons.back().corners.push_back({c, 0, 0});
    }
    return sobj;
}

OofChunk sobj(const OofSubobject& s) {
    return oof_sobj(s, 2300);
}

OofChunk sobj(uint32_t vertices, uint32_t polygons = 0) {
    return sobj(subobject(vertices, std::vector(polygons, U32s{0})));
}

class OofReadTest : public CoreTest {
  protected:
    void load(const Chunks& chunks, uint32_t version = 2300) {
        sink.boxes.clear();
        view.model_loaded = 0;
        load_oof_bytes(build_oof(version, chunks));
    }
    size_t boxes_with(const std::string& text) const {
        size_t n = 0;
        for (const RecordedBox& box : sink.boxes)
            n += box.text == text;
        return n;
    }
    // Loads `at` (when given) and expects count() to reach `expected`, then stops on `past`.
    void limit(const Chunks& at, uint32_t (*count)(), uint32_t expected, const Chunks& past,
               const std::string& text, int status) {
        SCOPED_TRACE(text);
        if (!at.empty()) {
            load(at);
            EXPECT_TRUE(sink.boxes.empty()) << last_text();
            EXPECT_EQ(count(), expected);
        }
        expect_stop([&] { load(past); }, text, status);
        EXPECT_EQ(view.model_loaded, 0);
        expect_store_within_tables(false);
    }
};

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
        EXPECT_EQ(model.vertices[6], (Vec3{0, 5, 0}));
        EXPECT_EQ(model.vertex_normals[2], (Vec3{1, 0, 0}));
        EXPECT_EQ(model.vertex_alpha[1], alpha ? 0.5f : 1);
        EXPECT_EQ(model.vertex_alpha[4], alpha ? 0.1f : 1);
        EXPECT_EQ(model.vertex_alpha[6], alpha ? 0.3f : 1);
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

// A file with no subobjects empties the store; keys without subobjects read nothing, so a key
// chunk with data has a wrong length; a later chunk of a kind replaces the earlier one.
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
    EXPECT_EQ(boxes_with(BAD_LENGTH), 1u);
    EXPECT_EQ(model.num_used_frames, 0u);

    load({oof_points("GPNT", {{1, {}, {}}, {2, {}, {}}}), oof_points("GPNT", {{3, {}, {}}}),
          oof_pinf("long text"), oof_pinf("ab")});
    EXPECT_EQ(model.num_gun_points, 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 3u);
    EXPECT_STREQ(model.pinf_text, "ab");
}

TEST_F(OofReadTest, CornersAreRebasedAndFramesSortedAndShared) {
    load({sobj(subobject(5)), sobj(subobject(3, {}, 0)), sobj(subobject(3, {{0, 1, 2}}, 1))});
    ASSERT_EQ(model.num_polygons, 1u);
    EXPECT_EQ(first(model.polygons[0].points, 3), (U32s{8, 9, 10}));
    EXPECT_EQ(model.polygons[0].sobj, 2u);
    EXPECT_EQ(first(model.vertex_sobj + 7, 2), (std::vector<uint16_t>{1, 2}));

    OofChunk pani = oof_pani({{{5, {}}, {2, {}}}, {{5, {}}}});
    load({sobj(1), sobj(1), pani});
    EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 5}));
    EXPECT_EQ(model.frame_used[5] * 10 + model.frame_used[3], 10);
    // Rotation keys add their frames to the same list; a later chunk replaces the windows.
    load({sobj(1), sobj(1), pani, oof_rani({{{3, {}, 0}}, {}}), oof_pani({{}, {{7, {1, 1, 1}}}})});
    EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 3, 5, 7}));
    EXPECT_EQ(model.pos_num_keys[0] + model.pos_first_key[1], 0u);
    EXPECT_EQ(model.pos_key_pos[0], (Vec3{1, 1, 1}));
}

TEST_F(OofReadTest, TextureListAndReferencedFlags) {
    OofSubobject textured = subobject(3);
    textured.polygons.push_back({.n_txtr = 1, .texture = 2, .corners = {{0, 0, 0}}});
    std::string full(36, 'x');
    load({oof_txtr({"a", "b", full}), sobj(textured)});
    ASSERT_EQ(model.num_textures, 3u);
    EXPECT_EQ(std::string(model.textures[2].name, 36), full) << "36 bytes fill the slot";
    EXPECT_EQ(model.textures[0].referenced * 10 + model.textures[2].referenced, 1);

    // The next load reads a shorter list: the flags start clear and no old name shows through.
    load({oof_txtr({"ab", std::string("c") + '\0'}), sobj(textured)});
    EXPECT_STREQ(model.textures[0].name, "ab");
    EXPECT_EQ(model.textures[2].referenced, 1) << "texture 2 is outside the list but used";
    EXPECT_EQ(model.textures[1].referenced, 0);

    // A file without a texture list has none, not the previous model's.
    load({sobj(3, 1)});
    EXPECT_EQ(model.num_textures, 0u);
    EXPECT_EQ(model.textures[2].referenced, 0);
}

TEST_F(OofReadTest, WrongChunkLengthIsReportedAndReadingGoesOnAtTheStatedEnd) {
    OofChunk ohdr = oof_ohdr(1, 1, {}, {});
    ohdr.data.resize(40, 0xEE);
    load({ohdr, sobj(3, 1)});
    EXPECT_EQ(boxes_with(BAD_LENGTH), 1u);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(model.num_subobjects + model.num_polygons, 2u);
    EXPECT_EQ(view.model_loaded, 1);

    // A stated length shorter than what the chunk holds: the record read past it stays, and
    // reading goes back to the stated end, where the next chunk begins.
    OofChunk gpnt = oof_points("GPNT", {{3, {}, {}}});
    gpnt.data.resize(4);
    load({gpnt, oof_pinf("twenty-eight bytes of text..")});
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(boxes_with(BAD_LENGTH), 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 0x464E4950u) << "the bytes \"PINF\"";
    EXPECT_STREQ(model.pinf_text, "twenty-eight bytes of text..");

    // A huge length on a chunk that reads little: one message, then the data has ended.
    gpnt = oof_points("GPNT", {});
    gpnt.stated_length = 0xFFFFFFFF;
    load({gpnt, oof_pinf("never read")});
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_STREQ(model.pinf_text, "");
}

TEST_F(OofReadTest, SeveralTexturesOnOnePolygonIsANoteAndOneIndexIsRead) {
    OofSubobject s = subobject(3);
    s.polygons = {{.n_txtr = 3, .texture = 1, .corners = {{0, 0, 0}, {1, 0, 0}}},
                  {.red = 99, .corners = {{2, 0, 0}}}};
    load({oof_txtr({"a", "b"}), sobj(s)});
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "INFO");
    EXPECT_EQ(last_text(), "n_txtr > 1...");
    EXPECT_EQ((U32s{model.polygons[0].n_txtr, model.polygons[0].texture,
                    model.polygons[1].color.red, model.polygons[1].points[0]}),
              (U32s{3, 1, 99, 2}));
}

// A file cut inside a vertex block: the missing fields read as zeros and the load finishes
// silently, ending where the chunk said.
TEST_F(OofReadTest, ChunkCutShortReadsZerosPastTheEnd) {
    OofSubobject s;
    s.name = "cut";
    s.positions = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    s.normals = s.positions;
    std::vector<uint8_t> bytes = build_oof(2300, {sobj(s)});
    // Header 8, chunk head 8, fixed fields 72, name 4 + 3, props 4, words 12, count 4, then the
    // first position and the x of the second.
    bytes.resize(8 + 8 + 72 + 7 + 4 + 12 + 4 + 12 + 4);
    model.vertices[1] = {9, 9, 9};
    model.vertex_alpha[2] = 9;
    load_oof_bytes(bytes);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    ASSERT_EQ(model.num_vertices, 3u);
    EXPECT_EQ(first(model.vertices, 3), (std::vector<Vec3>{{1, 2, 3}, {4, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(model.vertex_alpha[2], 0.0f);
    EXPECT_EQ(model.num_polygons, 0u);
}

TEST_F(OofReadTest, WrongHeadersAndUnknownChunksAreRefused) {
    expect_stop([] { load_oof_bytes(build_oof(2300, {}, "PSPX")); }, "oof header is wrong", 0);
    expect_stop(
        [] {
            load_oof_bytes(std::vector<uint8_t>{'P', 'S', 'P'});
        },
        "oof header is wrong", 0);
    for (const char* tag : {"SOBX", "sobj"})
        expect_stop(
            [&] {
                load({{tag, {}, std::nullopt}});
            },
            "Oof data is bad, unknown datatype... ouch", 5);
}

uint32_t all_points() {
    return model.num_gun_points + model.num_ground_points + model.num_attach_points +
           model.num_nath_points;
}

TEST_F(OofReadTest, EachListLimitLoadsAtItsValueAndStopsOnePastIt) {
    for (const char* tag : {"GPNT", "GRND", "ATCH", "NATH"})
        limit({oof_points(tag, std::vector(10, OofPoint{1, {}, {}}))}, all_points, 10,
              {oof_points(tag, std::vector(11, OofPoint{1, {}, {}}))},
              std::string(tag) + " > MAX_PNT... ouch", 7);
    std::vector<OofSpecial> specials(10, OofSpecial{"n", "p", {}, 1});
    limit(
        {oof_spcl(specials)}, [] { return model.num_special_points; }, 10,
        {oof_spcl(std::vector(11, specials[0]))}, "SPCL > MAX_PNT... ouch", 7);
    U32s ten(10, 1), eleven(11, 1);
    limit(
        {oof_wbat(std::vector(10, OofBattery{ten, ten}))},
        [] { return model.batteries.num_guns[9] + model.batteries.num_turrets[9]; }, 20,
        {oof_wbat(std::vector<OofBattery>(11))}, "WBAT > MAX_PNT... ouch", 7);
    limit({}, nullptr, 0, {oof_wbat({{ten, ten}, {eleven, ten}})}, "WBATnumgun > MAX_PNT... ouch",
          7);
    limit({}, nullptr, 0, {oof_wbat({{ten, eleven}})}, "WBATnumeye > MAX_PNT... ouch", 7);
    limit(
        {oof_pinf(std::string(1000, 'q'))}, [] { return uint32_t(strlen(model.pinf_text)); }, 1000,
        {oof_pinf(std::string(1001, 'q'))}, "PINF length > MAX_PINF Chars... ouch", 7);
    limit(
        {oof_txtr(std::vector(35, std::string(36, 'n')))}, [] { return model.num_textures; }, 35,
        {oof_txtr(std::vector<std::string>(36, "n"))}, "total_texture > MAX_TEXTURE", 0);
    limit({}, nullptr, 0, {oof_txtr({"a", std::string(37, 'n')})}, "charcount > 36", 0);

    std::vector<OofPosKey> pos(7500, OofPosKey{14999, {}});
    std::vector<OofRotKey> rot(7500, OofRotKey{14999, {}, 1});
    limit(
        {sobj(0), sobj(0), oof_pani({pos, pos}), oof_rani({rot, rot})},
        [] { return model.pos_first_key[1] + model.rot_first_key[1]; }, 15000,
        {sobj(0), sobj(0), oof_pani({pos, std::vector(7501, pos[0])})},
        "pani: number keys > MAX_ANI... ouch", 7);
    limit({}, nullptr, 0, {sobj(0), sobj(0), oof_rani({rot, std::vector(7501, rot[0])})},
          "rani: number keys > MAX_ANI... ouch", 7);
    limit(
        {sobj(0), oof_pani({{{14999, {}}}})}, [] { return model.used_frames[0]; }, 14999,
        {sobj(0), oof_pani({{{15000, {}}}})}, "pani: frame > MAX_ANI... ouch", 7);
    limit({}, nullptr, 0, {sobj(0), oof_rani({{{0xFFFFFFFF, {}, 0}}})},
          "rani: frame > MAX_ANI... ouch", 7);
}

OofChunk named(std::string name, std::string props) {
    OofSubobject s;
    s.name = std::move(name);
    s.props = std::move(props);
    return sobj(s);
}

OofChunk textured(uint32_t texture) {
    OofSubobject s = subobject(1, {{0}});
    s.polygons[0].n_txtr = 1;
    s.polygons[0].texture = texture;
    return sobj(s);
}

TEST_F(OofReadTest, EachSubobjectLimitLoadsAtItsValueAndStopsOnePastIt) {
    limit(
        {sobj(2000), sobj(2000)}, [] { return model.num_vertices; }, 4000, {sobj(2000), sobj(2001)},
        "Vcount > MAX_VECT... ouch", 7);
    limit(
        {sobj(1, 3000), sobj(1, 1000)}, [] { return model.num_polygons; }, 4000,
        {sobj(1, 3000), sobj(1, 1001)}, "Polycount > MAX_POLY... ouch", 3);
    limit(
        {sobj(subobject(1, {U32s(25, 0)}))}, [] { return model.polygons[0].num_points; }, 25,
        {sobj(subobject(1, {U32s(26, 0)}))}, "points > 25... ouch", 2);
    limit(
        Chunks(60, sobj(1)), [] { return model.num_subobjects; }, 60, Chunks(61, sobj(1)),
        "SOBJ > MAX_SOBJ... ouch", 7);

    // Limits of fixed-size fields that the file format leaves unchecked.
    std::string s49(49, 'z'), s50(50, 'z');
    limit(
        {named(s49, s49)},
        [] { return uint32_t(strlen(model.sobj_name[0]) * 100 + strlen(model.sobj_props[0])); },
        4949, {named(s50, "")}, "SOBJ name > 49 chars... ouch", 7);
    limit({}, nullptr, 0, {named("", s50)}, "SOBJ props > 49 chars... ouch", 7);
    limit(
        {oof_spcl({{s49, s49, {}, 0}})},
        [] {
            return uint32_t(strlen(model.special_points.name[0]) * 100 +
                            strlen(model.special_points.properties[0]));
        },
        4949, {oof_spcl({{s50, "", {}, 0}})}, "SPCL name > 49 chars... ouch", 7);
    limit({}, nullptr, 0, {oof_spcl({{"", s50, {}, 0}})}, "SPCL props > 49 chars... ouch", 7);
    limit(
        {textured(34)}, [] { return uint32_t(model.textures[34].referenced); }, 1, {textured(35)},
        "texture > MAX_TEXTURE... ouch", 7);

    // Corners past the subobject's own vertices but inside the table are kept as stored; the
    // sum wraps as a u32, so 0xFFFFFFFF after 8 vertices is vertex 7.
    Chunks corners_in = {sobj(8), sobj(subobject(3, {{0, 5, 3991}, {0xFFFFFFFF}}))};
    limit(
        corners_in,
        [] { return model.polygons[0].points[1] * 10000 + model.polygons[0].points[2]; },
        13 * 10000 + 3999, {sobj(8), sobj(subobject(3, {{0, 3992}}))},
        "point index > MAX_VECT... ouch", 7);
    limit(
        corners_in, [] { return model.polygons[1].points[0]; }, 7,
        {sobj(subobject(8, {{0xFFFFFFFF}}))}, "point index > MAX_VECT... ouch", 7);

    // A parent must come before its child; -2 and the largest value are no index either.
    OofSubobject root = subobject(0), child = root, bad = root;
    child.parent = 0;
    for (int32_t parent : {0, 1, 2, -2, 0x7FFFFFFF}) {
        bad.parent = parent;
        limit(
            {sobj(root), sobj(child)}, [] { return uint32_t(model.sobj_parent[1]); }, 0,
            parent == 0 ? Chunks{sobj(bad)} : Chunks{sobj(root), sobj(bad)},
            "SOBJ parent >= SOBJ... ouch", 7);
    }
}

// Count fields set to 0xFFFFFFFF where a sum or a wrap could let them through: the checks run
// in 64 bits or against the table, never after the sum has wrapped.
TEST_F(OofReadTest, CountsAtTheirLargestValueAreRefusedOrBounded) {
    OofSubobject s = subobject(1, {{0}});
    size_t names = 72 + 4 + 2 + 4, polygon = names + 12 + 4 + 28 + 4;
    const struct {
        const char* what;
        Chunks chunks;
        size_t count_at; // offset of the count in the last chunk's data
        int status;      // 1: loads
    } cases[] = {
        {"SOBJ parent all ones is -1, none", {sobj(s)}, 4, 1},
        {"SOBJ vertices", {sobj(s)}, names + 12, 7},
        {"SOBJ polygons", {sobj(s)}, names + 12 + 4 + 28, 3},
        {"SOBJ corner index", {sobj(s)}, polygon + 12 + 4 + 4 + 3, 7},
        {"PANI", {sobj(s), oof_pani({{{1, {}}}})}, 0, 7},
        {"RANI", {sobj(s), oof_rani({{{1, {}, 0}}})}, 0, 7},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        std::memset(c.chunks.back().data.data() + c.count_at, 0xFF, 4);
        int status = 1;
        try {
            load(c.chunks);
        } catch (const ProgramExit& e) {
            status = e.status;
        }
        EXPECT_EQ(status, c.status);
        expect_store_within_tables(false);
    }
    // PINF takes its count from the chunk length.
    OofChunk pinf = oof_pinf("abc");
    pinf.stated_length = 0xFFFFFFFF;
    EXPECT_EQ(exit_status_of([&] { load({pinf}); }), 7);
}

// The file layer: a missing file, a list position outside the archive, an archive that is gone,
// an entry read up to its own end or cut short by the end of the file.
TEST_F(OofReadTest, LooseFilesAndArchiveEntries) {
    copy_bounded(view.oof_path, PATH_LEN, dir.path("missing.oof"));
    expect_stop([] { load_oof(0); }, "Can't open the oof file", -2);
    copy_bounded(view.oof_path, PATH_LEN, dir.write("Ship.oof", build_oof(2300, {sobj(3)})));
    load_oof(0);
    EXPECT_EQ(model.num_vertices, 3u);

    // The entry after the model holds bytes that are no chunk: reading past the model's end
    // would stop the program with "unknown datatype".
    std::vector<uint8_t> ship = build_oof(2300, oof_every_chunk_kind(2300));
    std::vector<uint8_t> archive = build_hog({{"first.oof", build_oof(2300, {oof_pinf("other")})},
                                              {"readme.txt", {1, 2, 3}},
                                              {"ship.oof", ship},
                                              {"junk.bin", {'J', 'U', 'N', 'K'}}});
    copy_bounded(hog.hog_path, PATH_LEN, dir.write("models.hog", archive));
    load_hog();
    ASSERT_EQ(hog.num_oof, 2u);
    sink.boxes.clear();
    load_oof(1);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(model.num_subobjects, 2u);
    EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
    load_oof(0);
    EXPECT_EQ(model.num_subobjects, 0u);
    EXPECT_STREQ(model.pinf_text, "other");
    expect_stop([] { load_oof(2); }, "Oof: hog entry > num_oof... ouch", 7);

    // Cut inside the second model: it reads as far as the file goes.
    archive.resize(archive.size() - 4 - ship.size() / 2);
    dir.write("models.hog", archive);
    try {
        load_oof(1);
    } catch (const ProgramExit&) {
    }
    expect_store_within_tables(false);

    copy_bounded(hog.hog_path, PATH_LEN, dir.path("missing.hog"));
    expect_stop([] { load_oof(0); }, "Oof: Can't open the hog file", -2);
}

} // namespace
