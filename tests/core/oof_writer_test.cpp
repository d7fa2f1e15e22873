// export_oof: chunk order and conditions, every computed field, renumbered corners, strings,
// the round trip through load_oof, and failures that keep the file and the store.
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "state/byte_cursor.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"
#include "tools/store_builder.h"

namespace {

using U32s = std::vector<uint32_t>;

U32s words(ByteCursor& c, int n) {
    U32s w;
    for (int i = 0; i < n; ++i)
        w.push_back(c.u32());
    return w;
}

std::string string_of(ByteCursor& c) {
    std::string s(c.u32(), '\0');
    c.bytes(s.data(), s.size());
    return s;
}

struct WrittenPolygon {
    uint32_t n_txtr, texture = 0;
    U32s corners;
    float span_xz, span_yz;
};

// Only what the reader skips or what shows the encoding: the rest comes back in the round trip.
struct WrittenSobj {
    U32s head, marks, words; // head: number, parent, seven zeros
    Vec3 offset, centre;
    float radius;
    std::string name, props;
    std::vector<Vec3> positions;
    std::vector<WrittenPolygon> polygons;
};

// Reads a version-2300 SOBJ chunk as the file layout has it.
WrittenSobj parse_sobj(ByteCursor c) {
    WrittenSobj s;
    s.head = words(c, 9);
    s.offset = c.vec3();
    s.radius = c.f32();
    s.marks = words(c, 2);
    s.centre = c.vec3();
    s.name = string_of(c);
    s.props = string_of(c);
    s.words = words(c, 3);
    uint32_t nv = c.u32();
    for (uint32_t i = 0; i < nv; ++i)
        s.positions.push_back(c.vec3());
    c.skip(nv * 16); // normals and alphas
    for (uint32_t np = c.u32(); np > 0 && c.remaining() > 0; --np) {
        WrittenPolygon& p = s.polygons.emplace_back();
        c.skip(12); // normal
        uint32_t k = c.u32();
        p.n_txtr = c.u32();
        if (p.n_txtr == 0)
            c.skip(3); // colour
        else
            p.texture = c.u32();
        for (uint32_t i = 0; i < k; ++i) {
            p.corners.push_back(c.u32());
            c.skip(8); // u, v
        }
        p.span_xz = c.f32();
        p.span_yz = c.f32();
    }
    EXPECT_EQ(c.tell(), c.size()) << "read to its end and not past it";
    return s;
}

int named_subobject(const char* name, int parent = -1, Vec3 offset = {}) {
    int s = add_subobject(parent, offset);
    std::strcpy(model.sobj_name[s], name);
    return s;
}

class OofWriteTest : public CoreTest {
  protected:
    // Exports the store and splits the image into its chunks.
    void export_image() {
        image = export_oof_bytes();
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        chunks.clear();
        tags.clear();
        ByteCursor cursor(image);
        cursor.skip(8);
        while (cursor.tell() < cursor.size()) {
            char tag[4];
            cursor.bytes(tag, 4);
            uint32_t length = cursor.u32();
            chunks.push_back({std::string(tag, 4), cursor.tell(), length});
            tags.push_back(chunks.back().tag);
            cursor.skip(length);
        }
        EXPECT_EQ(cursor.tell(), image.size()) << "lengths must add up to the file";
    }
    // A cursor over the data of the n-th chunk with this tag.
    ByteCursor chunk(const std::string& tag, int n = 0) const {
        for (const Chunk& c : chunks)
            if (c.tag == tag && n-- == 0)
                return ByteCursor(std::span(image).subspan(c.offset, c.length));
        ADD_FAILURE() << "no chunk " << tag;
        return ByteCursor({});
    }
    void load_back() { load_oof_bytes(std::vector(image)); }
    // Reading back runs over the same slots with the same values, so even the parts of the
    // tables that no field uses must match byte for byte; a second export gives the same bytes.
    void expect_same_store_after_round_trip() {
        static Polymodel before;
        before = model;
        export_image();
        std::vector<uint8_t> first = image;
        load_back();
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);
        EXPECT_EQ(export_oof_bytes(), first);
    }

    struct Chunk {
        std::string tag;
        size_t offset; // of the data
        uint32_t length;
    };
    std::vector<uint8_t> image;
    std::vector<Chunk> chunks;
    std::vector<std::string> tags;
};

// The header, OHDR with model-space bounds and radius, then one SOBJ per subobject.
TEST_F(OofWriteTest, ChunksComeInTheirOrderEachUnderItsCondition) {
    int root = named_subobject("root", -1, {10, 0, 0});
    int child = named_subobject("child", root, {0, 5, 0});
    add_vertex(child, {1, 0, 0});    // (11, 5, 0)
    add_vertex(root, {-2, -3, 7});   // (8, -3, 7)
    add_vertex(child, {-20, 1, -1}); // (-10, 6, -1)
    export_image();
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "PSPO");
    EXPECT_EQ(ByteCursor(std::span(image).subspan(4)).u32(), 2300u);
    EXPECT_EQ(tags, (std::vector<std::string>{"OHDR", "SOBJ", "SOBJ"}));
    ByteCursor ohdr = chunk("OHDR");
    ASSERT_EQ(ohdr.size(), 36u);
    EXPECT_EQ(ohdr.u32(), 2u);
    EXPECT_FLOAT_EQ(ohdr.f32(), std::sqrt(146.0f));
    EXPECT_EQ(ohdr.vec3(), (Vec3{-10, -3, -1}));
    EXPECT_EQ(ohdr.vec3(), (Vec3{11, 6, 7}));
    EXPECT_EQ(ohdr.u32(), 0u);

    // Only the last subobject has keys: the chunk is still written, with an empty block first.
    model.pos_first_key[1] = 0;
    model.pos_num_keys[1] = 2;
    model.pos_key_frame[0] = 9;
    model.pos_key_frame[1] = 4;
    model.pos_key_pos[1] = {1, 2, 3};
    export_image();
    EXPECT_EQ(tags, (std::vector<std::string>{"OHDR", "SOBJ", "SOBJ", "PANI"}));
    ByteCursor pani = chunk("PANI");
    // Empty block, then count 2, smallest frame 4, largest 9, the keys as stored.
    EXPECT_EQ(words(pani, 7), (U32s{0, 0, 0, 2, 4, 9, 9}));
    pani.skip(12);
    EXPECT_EQ(pani.u32(), 4u);
    EXPECT_EQ(pani.vec3(), (Vec3{1, 2, 3}));
    EXPECT_EQ(pani.remaining(), 0u);
    // Only the first subobject has keys.
    std::swap(model.pos_num_keys[0], model.pos_num_keys[1]);
    export_image();
    EXPECT_EQ(tags, (std::vector<std::string>{"OHDR", "SOBJ", "SOBJ", "PANI"}));
    pani = chunk("PANI");
    EXPECT_EQ(words(pani, 3), (U32s{2, 4, 9}));

    // Every chunk kind, and the export leaves the store as it was.
    load_oof_bytes(build_oof(2300, oof_every_chunk_kind(2300)));
    static Polymodel before;
    before = model;
    export_image();
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);
    EXPECT_EQ(tags,
              (std::vector<std::string>{"TXTR", "OHDR", "SOBJ", "SOBJ", "SPCL", "GPNT", "GRND",
                                        "ATCH", "NATH", "WBAT", "PANI", "RANI", "PINF"}));
    EXPECT_EQ(chunk("PINF").size(), 14u) << "the text without terminator";
}

TEST_F(OofWriteTest, SobjFieldsAndComputedValues) {
    int s = named_subobject("hull", -1, {7, 8, 9});
    std::strcpy(model.sobj_props[s], "$fov=1");
    for (Vec3 p : {Vec3{-2, 1, 3}, Vec3{4, -1, 0}, Vec3{0, 6, -2}})
        add_vertex(s, p);
    add_polygon(s, {2, 0, 1});
    Polygon& textured = add_polygon(s, {0, 1, 2});
    textured.n_txtr = 2;
    textured.texture = 5;
    int t = named_subobject("t");
    for (Vec3 p : {Vec3{0, 0, 1}, Vec3{3, 0, 5}, Vec3{0, 5, 1}})
        add_vertex(t, p);
    add_polygon(t, {3, 4, 5});
    add_polygon(t, {4});
    add_polygon(t, {});
    export_image();
    WrittenSobj sobj = parse_sobj(chunk("SOBJ"));
    EXPECT_EQ(sobj.head, (U32s{0, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0})) << "number 0, parent -1";
    EXPECT_EQ(sobj.offset, (Vec3{7, 8, 9}));
    EXPECT_FLOAT_EQ(sobj.radius, std::sqrt(40.0f)) << "in the subobject's own frame";
    EXPECT_EQ(sobj.marks, (U32s{0xFFFFFFFF, 0xFFFFFFFF}));
    EXPECT_EQ(sobj.centre, (Vec3{1, 2.5f, 0.5f})) << "centre of -2..4, -1..6, -2..3";
    EXPECT_EQ(sobj.name, std::string("hull") + '\0');
    EXPECT_EQ(sobj.props, std::string("$fov=1") + '\0');
    EXPECT_EQ(sobj.words, (U32s{0xFFFFFFFF, 0xFFFFFFFF, 0}));
    ASSERT_EQ(sobj.polygons.size(), 2u);
    EXPECT_EQ(sobj.polygons[0].n_txtr, 0u);
    EXPECT_EQ(sobj.polygons[0].corners, (U32s{2, 0, 1}));
    EXPECT_EQ(sobj.polygons[1].n_txtr, 2u);
    EXPECT_EQ(sobj.polygons[1].texture, 5u) << "a texture instead of a colour";
    // Spans in the xz and yz planes; one corner or none has no span.
    std::vector<WrittenPolygon> spanned = parse_sobj(chunk("SOBJ", 1)).polygons;
    ASSERT_EQ(spanned.size(), 3u);
    EXPECT_FLOAT_EQ(spanned[0].span_xz, 5.0f);
    EXPECT_NEAR(spanned[0].span_yz, 6.40312f, 1e-5);
    for (int p : {1, 2})
        EXPECT_EQ(spanned[p].span_xz + spanned[p].span_yz, 0.0f);

    model.num_used_frames = 1;
    export_image();
    EXPECT_EQ(parse_sobj(chunk("SOBJ")).words, (U32s{1, 2, 0}));
}

// Vertices (with their normals) and polygons are written grouped by subobject with corners
// renumbered, the way the importers' interleaved stores need. A corner on another subobject's
// vertex is written as the offset from this subobject's first vertex in the file, wrapped as a
// u32, so reading it back reaches the same vertex.
TEST_F(OofWriteTest, GroupedBySubobjectAndRenumberedEvenAcrossSubobjects) {
    int a = named_subobject("a"), b = named_subobject("b");
    add_vertex(b, {5, 5, 5}, {0, 0, 5});
    add_vertex(a, {1, 1, 1}, {0, 0, 1});
    add_vertex(a, {2, 2, 2}, {0, 0, 2});
    add_vertex(b, {6, 6, 6}, {0, 0, 6});
    add_polygon(b, {0, 2, 4000});
    add_polygon(a, {1, 0, 3});
    add_polygon(b, {3});
    export_image();
    WrittenSobj first = parse_sobj(chunk("SOBJ", 0)), second = parse_sobj(chunk("SOBJ", 1));
    EXPECT_EQ(first.positions, (std::vector<Vec3>{{1, 1, 1}, {2, 2, 2}}));
    EXPECT_EQ(second.positions, (std::vector<Vec3>{{5, 5, 5}, {6, 6, 6}}));
    EXPECT_EQ(second.head[0], 1u);
    ASSERT_EQ(first.polygons.size() + second.polygons.size(), 3u);
    EXPECT_EQ(first.polygons[0].corners, (U32s{0, 2, 3})) << "b's vertices follow a's two";
    EXPECT_EQ(second.polygons[0].corners, (U32s{0, 0xFFFFFFFF, 0}))
        << "a's vertex 1 lies one before b's first; a corner on no vertex becomes vertex 0";

    load_back();
    ASSERT_EQ(model.num_polygons, 3u);
    EXPECT_EQ(model.polygons[0].sobj, 0u) << "polygons come back grouped by subobject";
    auto at = [](uint32_t p, uint32_t c) { return model.vertices[model.polygons[p].points[c]]; };
    EXPECT_EQ(
        (std::vector<Vec3>{at(0, 0), at(0, 1), at(0, 2), at(1, 0), at(1, 1), at(2, 0)}),
        (std::vector<Vec3>{{1, 1, 1}, {5, 5, 5}, {6, 6, 6}, {5, 5, 5}, {2, 2, 2}, {6, 6, 6}}));
    for (uint32_t v = 0; v < 4; ++v)
        EXPECT_EQ(model.vertex_normals[v].z, model.vertices[v].x) << v;
    EXPECT_EQ((U32s{model.sobj_num_verts[0], model.sobj_num_verts[1], model.sobj_num_polys[0],
                    model.sobj_num_polys[1]}),
              (U32s{2, 2, 1, 2}));
}

TEST_F(OofWriteTest, StringsCountTheirZeroUnlessTheyFillWhatTheReaderTakes) {
    std::string s49(49, 'n');
    int s = named_subobject(s49.c_str());
    std::strcpy(model.sobj_props[s], s49.c_str());
    model.num_textures = 2;
    std::memset(model.textures[0].name, 't', 36);
    std::strcpy(model.textures[1].name, "ab");
    model.num_special_points = 1;
    std::strcpy(model.special_points.properties[0], s49.c_str());
    export_image();
    ByteCursor txtr = chunk("TXTR");
    EXPECT_EQ(txtr.u32(), 2u);
    EXPECT_EQ(string_of(txtr), std::string(36, 't'));
    EXPECT_EQ(string_of(txtr), std::string("ab") + '\0');
    ByteCursor spcl = chunk("SPCL");
    spcl.skip(4);
    EXPECT_EQ(string_of(spcl), std::string(1, '\0'));
    EXPECT_EQ(string_of(spcl), s49);

    load_back();
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(std::string(model.textures[0].name), std::string(36, 't'));
    EXPECT_EQ(std::string(model.sobj_name[0]), s49);
    EXPECT_EQ(std::string(model.sobj_props[0]), s49);
    EXPECT_EQ(std::string(model.special_points.properties[0]), s49);
}

// The old layouts come back with neutral alpha, as the reader leaves them; the maximal model's
// image is larger than the old fixed buffer of 768000 bytes.
TEST_F(OofWriteTest, ReadModelsComeBackTheSame) {
    for (uint32_t version : {2300u, 1907u}) {
        SCOPED_TRACE(version);
        load_oof_bytes(build_oof(version, oof_every_chunk_kind(version)));
        expect_same_store_after_round_trip();
        EXPECT_EQ(model.num_subobjects + model.num_batteries + model.rot_num_keys[1], 6u);
        EXPECT_EQ(model.vertex_alpha[1], version == 2300 ? 0.5f : 1.0f);
    }
    load_oof_bytes(oof_maximal_model());
    ASSERT_EQ(model.num_vertices + model.num_polygons, 8000u);
    expect_same_store_after_round_trip();
    EXPECT_GT(image.size(), 768000u);
    EXPECT_EQ(model.pos_num_keys[11], 1250u);
    EXPECT_EQ(model.num_used_frames, 15000u);
}

// Exits 0 when the export failed with the message box, 1 otherwise.
[[noreturn]] void export_with_file_size_limit(rlim_t bytes, const RecordingSink& sink) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    bool ok = export_oof();
    bool shown = sink.boxes.size() == 1 && sink.boxes[0].text == "Can't write the output file";
    std::_Exit(!ok && shown ? 0 : 1);
}

// The write fails half-way (file size limit) in a child process; the old file must survive and
// no temporary file may be left beside it.
TEST_F(OofWriteTest, FailedWriteKeepsTheExistingFile) {
    std::string target = dir.write("keep.oof", {'o', 'l', 'd'});
    copy_bounded(view.export_path, PATH_LEN, target);
    int s = add_subobject(-1, {});
    for (int v = 0; v < 1000; ++v)
        add_vertex(s, {1, 0, 0});
    EXPECT_EXIT(export_with_file_size_limit(1000, sink), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_whole_file(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.root()), {}), 1);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool ADDRESS_SANITIZER = true;
#elif defined(__has_feature)
constexpr bool ADDRESS_SANITIZER = __has_feature(address_sanitizer);
#else
constexpr bool ADDRESS_SANITIZER = false;
#endif

// Caps the address space just above what the process uses, sends standard output to a file and
// exports a model whose image needs more than a megabyte.
[[noreturn]] void export_without_memory(const std::string& stdout_file) {
    if (!std::freopen(stdout_file.c_str(), "w", stdout))
        std::_Exit(3);
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    rlim_t used = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
    rlimit limit{used + (256 << 10), used + (256 << 10)};
    setrlimit(RLIMIT_AS, &limit);
    export_oof();
    std::_Exit(4);
}

TEST_F(OofWriteTest, NoMemoryForTheImageEndsWithStatusOne) {
    if (ADDRESS_SANITIZER)
        GTEST_SKIP() << "the address sanitizer needs more address space than the cap allows";
    fill_maximal_model();
    copy_bounded(view.export_path, PATH_LEN, dir.path("out.oof"));
    std::string captured = dir.path("stdout.txt");
    EXPECT_EXIT(export_without_memory(captured), ::testing::ExitedWithCode(1), "");
    std::vector<uint8_t> text = read_whole_file(captured);
    EXPECT_EQ(std::string(text.begin(), text.end()), "Not enough memory to allocate buffer\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.oof")));
}

} // namespace
