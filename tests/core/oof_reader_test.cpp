// load_oof: every chunk into the store in the three layouts, rebasing, frames, texture flags,
// chunk lengths, archive entries, and every refusal with its text and status, each limit at its
// value and one past it.
#include <cstring>
#include <functional>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace {

using U32s = std::vector<uint32_t>;
using Vec3s = std::vector<Vec3>;
using Chunks = std::vector<OofChunk>;

const std::string BAD_LENGTH = "Oof data is bad, chunk length wrong... ouch";

const auto first = [](const auto* values, size_t n) { return std::vector(values, values + n); };

class OofReadTest : public CoreTest {
  protected:
    void load(const Chunks& chunks, uint32_t version = 2300) {
        sink.boxes.clear();
        view.model_loaded = 0;
        load_oof_bytes(build_oof(version, chunks));
    }
};

// A misread polygon trailer or alpha block shifts every later field, so the second subobject's
// values and the chunks after it would come out wrong. What the file holds comes back whole in
// the export; what the load derives (flags, frame list, properties) is checked here.
TEST_F(OofReadTest, EveryChunkKindFillsItsTablesInEachLayout) {
    for (uint32_t version : {2300u, 1907u, 2200u, 1u}) {
        SCOPED_TRACE(version);
        reset_globals();
        load(oof_every_chunk_kind(version), version);
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(export_oof_bytes(), oof_every_chunk_kind_rewritten(version));
        EXPECT_EQ((U32s{model.sobj_num_verts[1], model.sobj_num_polys[0],
                        model.textures[0].referenced + 2u * model.textures[1].referenced}),
                  (U32s{3, 2, 2}));
        EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 5, 7, 9}));
        EXPECT_EQ(model.sobj_rotate[1] + model.any_rotate + view.model_loaded, 3);
    }
}

// Corners count from their subobject's first vertex; key frames form one sorted list; a file
// with no subobjects empties the store; a later chunk of a kind replaces the earlier one.
TEST_F(OofReadTest, CornersAreRebasedFramesSortedAndLaterChunksReplaceEarlierOnes) {
    load({oof_sobj(5), oof_sobj(oof_subobject(3, {}, 0)),
          oof_sobj(oof_subobject(3, {{0, 1, 2}}, 1))});
    EXPECT_EQ(first(model.polygons[0].points, 3), (U32s{8, 9, 10}));
    EXPECT_EQ(model.polygons[0].sobj, 2u);
    EXPECT_EQ(first(model.vertex_sobj + 7, 2), (std::vector<uint16_t>{1, 2}));

    OofChunk pani = oof_pani({{{5, {}}, {2, {}}}, {{5, {}}}});
    load({oof_sobj(1), oof_sobj(1), pani, oof_rani({{{3, {}, 0}}, {}}),
          oof_pani({{}, {{7, {1, 1, 1}}}})});
    EXPECT_EQ(first(model.used_frames, model.num_used_frames), (U32s{2, 3, 5, 7}));
    EXPECT_EQ(model.frame_used[5] * 10 + model.frame_used[4], 10);
    EXPECT_EQ(model.pos_num_keys[0] + model.pos_first_key[1], 0u);
    EXPECT_EQ(model.pos_key_pos[0], (Vec3{1, 1, 1}));

    model.num_vertices = 5;
    load({oof_pani({})});
    EXPECT_EQ(model.num_vertices + model.num_polygons + model.num_subobjects, 0u);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_TRUE(sink.boxes.empty());
    pani.data.assign(12, 0); // keys without subobjects read nothing: a wrong length
    load({pani});
    EXPECT_EQ(last_text(), BAD_LENGTH);
    EXPECT_EQ(model.num_used_frames, 0u);

    load({oof_points("GPNT", {{1, {}, {}}, {2, {}, {}}}), oof_points("GPNT", {{3, {}, {}}}),
          oof_pinf("long text"), oof_pinf("ab")});
    EXPECT_EQ(model.num_gun_points * 10 + model.gun_points.submodel[0], 13u);
    EXPECT_STREQ(model.pinf_text, "ab");
}

TEST_F(OofReadTest, TextureListReferencedFlagsAndTheSeveralTexturesNote) {
    OofSubobject s = oof_subobject(3);
    s.polygons = {{.n_txtr = 1, .texture = 2, .corners = {{0, 0, 0}}},
                  {.n_txtr = 3, .texture = 0, .corners = {{0, 0, 0}, {1, 0, 0}}},
                  {.red = 99, .corners = {{2, 0, 0}}}};
    std::string full(36, 'x');
    load({oof_txtr({"a", "b", full}), oof_sobj(s)});
    ASSERT_EQ(model.num_textures, 3u);
    EXPECT_EQ(std::string(model.textures[2].name), full) << "36 bytes fill the slot";
    EXPECT_EQ(model.textures[0].referenced * 10 + model.textures[1].referenced, 10);
    EXPECT_EQ(shown(), "INFO n_txtr > 1...\n");
    EXPECT_EQ(
        (U32s{model.polygons[1].n_txtr, model.polygons[2].color.red, model.polygons[2].points[0]}),
        (U32s{3, 99, 2}));

    // The next load reads a shorter list: the flags start clear and no old name shows through.
    s.polygons.resize(1);
    load({oof_txtr({"ab", std::string("c") + '\0'}), oof_sobj(s)});
    EXPECT_STREQ(model.textures[0].name, "ab");
    EXPECT_EQ(model.textures[2].referenced, 1) << "texture 2 is outside the list but used";
    EXPECT_EQ(model.textures[0].referenced, 0);
    load({oof_sobj(3, 1)});
    EXPECT_EQ(model.num_textures + model.textures[2].referenced, 0u) << "no list, no old list";
}

TEST_F(OofReadTest, WrongChunkLengthIsReportedAndReadingGoesOnAtTheStatedEnd) {
    OofChunk ohdr = oof_ohdr(1, 1, {}, {});
    ohdr.data.resize(40, 0xEE);
    load({ohdr, oof_sobj(3, 1)});
    EXPECT_EQ(shown(), "ERROR " + BAD_LENGTH + "\n");
    EXPECT_EQ(model.num_subobjects + model.num_polygons + view.model_loaded, 3u);

    // A stated length shorter than what the chunk holds: the record read past it stays, and
    // reading goes back to the stated end, where the next chunk begins.
    OofChunk gpnt = oof_points("GPNT", {{3, {}, {}}});
    gpnt.data.resize(4);
    load({gpnt, oof_pinf("twenty-eight bytes of text..")});
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(model.gun_points.submodel[0], 0x464E4950u) << "the bytes \"PINF\"";
    EXPECT_STREQ(model.pinf_text, "twenty-eight bytes of text..");

    // A huge length on a chunk that reads little: one message, then the data has ended.
    gpnt = oof_points("GPNT", {});
    gpnt.stated_length = 0xFFFFFFFF;
    load({gpnt, oof_pinf("never read")});
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_STREQ(model.pinf_text, "");
}

// A file cut inside a vertex block: the missing fields read as zeros and the load finishes
// silently.
TEST_F(OofReadTest, ChunkCutShortReadsZerosPastTheEnd) {
    OofSubobject s{.positions = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    std::vector<uint8_t> bytes = build_oof(2300, {oof_sobj(s)});
    // Header 8, chunk head 8, fixed fields 72, name and props 8, words 12, count 4, then the
    // first position and the x of the second.
    bytes.resize(8 + 8 + 72 + 8 + 12 + 4 + 12 + 4);
    model.vertices[1] = {9, 9, 9};
    model.vertex_alpha[2] = 9;
    load_oof_bytes(bytes);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(first(model.vertices, model.num_vertices), (Vec3s{{1, 2, 3}, {4, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(model.vertex_alpha[2], 0.0f);
}

TEST_F(OofReadTest, WrongHeadersAndUnknownChunksAreRefused) {
    const std::string TAG = "Oof data is bad, unknown datatype... ouch";
    expect_stop([] { load_oof_bytes(build_oof(2300, {}, "PSPX")); }, "oof header is wrong", 0);
    expect_stop([this] { load({{"SOBX", {}, std::nullopt}}); }, TAG, 5);
    expect_stop([this] { load({{"sobj", {}, std::nullopt}}); }, TAG, 5);
}

using N = uint32_t;
const auto z = [](N n) { return std::string(n, 'z'); };
const auto of = [](auto... chunks) { return Chunks{chunks...}; };
const auto battery = [](N guns, N turrets) { return OofBattery{U32s(guns, 1), U32s(turrets, 1)}; };
const auto pos_key_at = [](N frame) { return oof_pani({{{frame, {}}}}); };
const auto rot_key_at = [](N frame) { return oof_rani({{{frame, {}, 0}}}); };
const auto corner = [](N vertices, U32s corners) {
    return oof_sobj(oof_subobject(vertices, {corners}));
};
OofChunk specials(N n, std::string name = "n", std::string props = "p") {
    return oof_spcl(std::vector(n, OofSpecial{std::move(name), std::move(props), {}, 1}));
}
template <class Key> std::vector<std::vector<Key>> full_then(N n, Key key) {
    return {std::vector(7500, key), std::vector(n, key)};
}

// Each limit: the file built with n at the limit loads silently, one past it stops the load
// with the text (and "... ouch" when the status is not 0).
struct Limit {
    std::string text;
    int status;
    N at;
    std::function<Chunks(N n)> build;
};

TEST_F(OofReadTest, EachLimitLoadsAtItsValueAndStopsOnePastIt) {
    std::vector<Limit> limits = {
        {"SPCL > MAX_PNT", 7, 10, [](N n) { return of(specials(n)); }},
        {"WBAT > MAX_PNT", 7, 10, [](N n) { return of(oof_wbat(std::vector<OofBattery>(n))); }},
        {"WBATnumgun > MAX_PNT", 7, 10,
         [](N n) {
             return of(oof_wbat({battery(10, 10), battery(n, 10)}));
         }},
        {"WBATnumeye > MAX_PNT", 7, 10, [](N n) { return of(oof_wbat({battery(10, n)})); }},
        {"PINF length > MAX_PINF Chars", 7, 1000, [](N n) { return of(oof_pinf(z(n))); }},
        {"total_texture > MAX_TEXTURE", 0, 35,
         [](N n) { return of(oof_txtr(std::vector(n, z(36)))); }},
        {"charcount > 36", 0, 36, [](N n) { return of(oof_txtr(std::vector(2, z(n)))); }},
        {"pani: number keys > MAX_ANI", 7, 7500,
         [](N n) {
             return of(oof_sobj(0), oof_sobj(0), oof_pani(full_then(n, OofPosKey(1, {}))));
         }},
        {"rani: number keys > MAX_ANI", 7, 7500,
         [](N n) {
             return of(oof_sobj(0), oof_sobj(0), oof_rani(full_then(n, OofRotKey(1, {}, 1))));
         }},
        {"pani: frame > MAX_ANI", 7, 14999, [](N n) { return of(oof_sobj(0), pos_key_at(n)); }},
        {"rani: frame > MAX_ANI", 7, 14999, [](N n) { return of(oof_sobj(0), rot_key_at(n)); }},
        {"Vcount > MAX_VECT", 7, 2000, [](N n) { return of(oof_sobj(2000), oof_sobj(n)); }},
        {"Polycount > MAX_POLY", 3, 1000,
         [](N n) { return of(oof_sobj(1, 3000), oof_sobj(1, n)); }},
        {"points > 25", 2, 25, [](N n) { return of(corner(1, U32s(n, 0))); }},
        {"SOBJ > MAX_SOBJ", 7, 60, [](N n) { return Chunks(n, oof_sobj(1)); }},
        // Fixed-size fields that the file format leaves unchecked.
        {"SOBJ name > 49 chars", 7, 49, [](N n) { return of(oof_sobj({.name = z(n)})); }},
        {"SOBJ props > 49 chars", 7, 49, [](N n) { return of(oof_sobj({.props = z(n)})); }},
        {"SPCL name > 49 chars", 7, 49, [](N n) { return of(specials(1, z(n), "")); }},
        {"SPCL props > 49 chars", 7, 49, [](N n) { return of(specials(1, "", z(n))); }},
        {"texture > MAX_TEXTURE", 7, 34,
         [](N n) {
             return of(oof_sobj(
                 {.positions = {{}}, .polygons = {{.n_txtr = 1, .texture = n, .corners = {{}}}}}));
         }},
        // Corners past the subobject's own vertices but inside the table are kept as stored.
        {"point index > MAX_VECT", 7, 3991,
         [](N n) {
             return of(oof_sobj(8), corner(3, U32s{0, n}));
         }},
        // A parent must come before its child.
        {"SOBJ parent >= SOBJ", 7, 0,
         [](N n) { return of(oof_sobj(0), oof_sobj(oof_subobject(0, {}, int32_t(n)))); }},
    };
    for (std::string tag : {"GPNT", "GRND", "ATCH", "NATH"})
        limits.push_back({tag + " > MAX_PNT", 7, 10, [tag](N n) {
                              return of(oof_points(tag, std::vector(n, OofPoint{1, {}, {}})));
                          }});
    for (const Limit& c : limits) {
        SCOPED_TRACE(c.text);
        load(c.build(c.at));
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        expect_stop([&] { load(c.build(c.at + 1)); }, c.text + (c.status ? "... ouch" : ""),
                    c.status);
        EXPECT_EQ(view.model_loaded, 0);
        expect_store_within_tables(false);
    }
    // The pieces at the limits arrive whole; the sum of corner and first vertex wraps as a u32,
    // so 0xFFFFFFFF after 8 vertices is vertex 7.
    load(
        {oof_sobj({.name = z(49)}), oof_sobj(8), oof_sobj(oof_subobject(3, {{3991, 0xFFFFFFFF}}))});
    EXPECT_EQ(strlen(model.sobj_name[0]), 49u);
    EXPECT_EQ(first(model.polygons[0].points, 2), (U32s{3999, 7}));
    load({oof_pinf(std::string(1000, 'q')), oof_wbat(std::vector(10, battery(10, 10)))});
    EXPECT_EQ(strlen(model.pinf_text) + model.batteries.num_turrets[9], 1010u);
    expect_stop(
        [] { load_oof_bytes(build_oof(2300, {oof_sobj(oof_subobject(8, {{0xFFFFFFFF}}))})); },
        "point index > MAX_VECT... ouch", 7);
}

// Count fields set to 0xFFFFFFFF where a sum or a wrap could let them through: the checks run
// in 64 bits or against the table, never after the sum has wrapped.
TEST_F(OofReadTest, CountsAtTheirLargestValueAreRefusedOrBounded) {
    OofSubobject s = oof_subobject(1, {{0}});
    size_t names = 72 + 4 + 4, polygon = names + 12 + 4 + 28 + 4;
    OofChunk pinf = oof_pinf("abcd"); // room for the count written over its start
    pinf.stated_length = 0xFFFFFFFF;  // PINF takes its count from the chunk length
    const struct {
        Chunks chunks;
        size_t count_at; // offset of the count in the last chunk's data
        int status;      // 1: loads
    } cases[] = {
        {{oof_sobj(s)}, 4, 1}, // a parent of all ones is -1, none
        {{oof_sobj(s)}, names + 12, 7},
        {{oof_sobj(s)}, names + 12 + 4 + 28, 3},
        {{oof_sobj(s)}, polygon + 12 + 4 + 4 + 3, 7},
        {{oof_sobj(s), pos_key_at(1)}, 0, 7},
        {{oof_sobj(s), rot_key_at(1)}, 0, 7},
        {{pinf}, 0, 7},
    };
    for (auto c : cases) {
        std::memset(c.chunks.back().data.data() + c.count_at, 0xFF, 4);
        EXPECT_EQ(status_of([&] { load(c.chunks); }, 1), c.status) << c.count_at;
        expect_store_within_tables(false);
    }
}

// The file layer: a loose file, a list position outside the archive, an archive that is gone,
// an entry read up to its own end or cut short by the end of the file.
TEST_F(OofReadTest, LooseFilesAndArchiveEntries) {
    copy_bounded(view.oof_path, PATH_LEN, dir.write("Ship.oof", build_oof(2300, {oof_sobj(3)})));
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
    sink.boxes.clear();
    load_oof(1);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_STREQ(model.pinf_text, "mass=12\nturn=3");
    load_oof(0);
    EXPECT_EQ(model.num_subobjects, 0u);
    EXPECT_STREQ(model.pinf_text, "other");
    expect_stop([] { load_oof(2); }, "Oof: hog entry > num_oof... ouch", 7);

    // Cut inside the second model: it reads as far as the file goes.
    archive.resize(archive.size() - 4 - ship.size() / 2);
    dir.write("models.hog", archive);
    status_of([] { load_oof(1); });
    expect_store_within_tables(false);
    copy_bounded(hog.hog_path, PATH_LEN, dir.path("missing.hog"));
    expect_stop([] { load_oof(0); }, "Oof: Can't open the hog file", -2);
}

} // namespace
