// export_oof: header, chunk order and conditions, every computed field, renumbered corners,
// strings, images past the old fixed buffer, and failures that keep the file and the store.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "state/byte_cursor.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"

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
    for (uint32_t np = c.u32(); np > 0 && !c.overran(); --np) {
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
    EXPECT_EQ(c.remaining(), 0u);
    EXPECT_FALSE(c.overran());
    return s;
}

class OofWriteTest : public CoreTest {
  protected:
    std::vector<uint8_t> export_bytes() {
        std::strcpy(view.export_path, dir.path("out.oof").c_str());
        EXPECT_TRUE(export_oof());
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        file = read_whole_file(view.export_path);
        chunks.clear();
        tags.clear();
        ByteCursor cursor(file);
        cursor.skip(8);
        while (cursor.tell() < cursor.size()) {
            char tag[4];
            cursor.bytes(tag, 4);
            uint32_t length = cursor.u32();
            chunks.push_back({std::string(tag, 4), cursor.tell(), length});
            tags.push_back(chunks.back().tag);
            cursor.skip(length);
        }
        EXPECT_EQ(cursor.tell(), file.size()) << "lengths must add up to the file";
        return file;
    }
    // A cursor over the data of the n-th chunk with this tag.
    ByteCursor chunk(const std::string& tag, int n = 0) const {
        for (const Chunk& c : chunks)
            if (c.tag == tag && n-- == 0)
                return ByteCursor(std::span(file).subspan(c.offset, c.length));
        ADD_FAILURE() << "no chunk " << tag;
        return ByteCursor({});
    }
    uint32_t add_subobject(const char* name, int32_t parent = -1, Vec3 offset = {}) {
        uint32_t s = model.num_subobjects++;
        std::strcpy(model.sobj_name[s], name);
        model.sobj_parent[s] = parent;
        model.sobj_offset[s] = offset;
        return s;
    }
    void add_vertices(uint32_t s, std::vector<Vec3> points) {
        for (Vec3 p : points) {
            uint32_t v = model.num_vertices++;
            model.vertices[v] = p;
            model.vertex_sobj[v] = uint16_t(s);
        }
    }
    Polygon& add_polygon(uint32_t s, U32s corners) {
        Polygon& poly = model.polygons[model.num_polygons++];
        poly = Polygon{};
        poly.sobj = s;
        poly.num_points = uint32_t(corners.size());
        std::copy(corners.begin(), corners.end(), poly.points);
        return poly;
    }
    void load_back() {
        std::strcpy(view.oof_path, view.export_path);
        load_oof(0);
    }

    struct Chunk {
        std::string tag;
        size_t offset; // of the data
        uint32_t length;
    };
    std::vector<uint8_t> file;
    std::vector<Chunk> chunks;
    std::vector<std::string> tags;
};

// The header, OHDR with model-space bounds and radius, then one SOBJ per subobject.
TEST_F(OofWriteTest, ChunksComeInTheirOrderEachUnderItsCondition) {
    uint32_t root = add_subobject("root", -1, {10, 0, 0});
    uint32_t child = add_subobject("child", root, {0, 5, 0});
    add_vertices(child, {{1, 0, 0}});    // (11, 5, 0)
    add_vertices(root, {{-2, -3, 7}});   // (8, -3, 7)
    add_vertices(child, {{-20, 1, -1}}); // (-10, 6, -1)
    export_bytes();
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "PSPO");
    EXPECT_EQ(ByteCursor(std::span(file).subspan(4)).u32(), 2300u);
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
    export_bytes();
    EXPECT_EQ(tags, (std::vector<std::string>{"OHDR", "SOBJ", "SOBJ", "PANI"}));
    ByteCursor pani = chunk("PANI");
    // Empty block, then count 2, smallest frame 4, largest 9, the keys as stored.
    EXPECT_EQ(words(pani, 6), (std::vector<uint32_t>{0, 0, 0, 2, 4, 9}));
    EXPECT_EQ(pani.u32(), 9u);
    pani.skip(12);
    EXPECT_EQ(pani.u32(), 4u);
    EXPECT_EQ(pani.vec3(), (Vec3{1, 2, 3}));
    EXPECT_EQ(pani.remaining(), 0u);

    // Every chunk kind, and the export leaves the store as it was.
    reset_globals();
    std::strcpy(view.oof_path,
                dir.write("in.oof", build_oof(2300, oof_every_chunk_kind(2300))).c_str());
    load_oof(0);
    static Polymodel before;
    before = model;
    export_bytes();
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);
    EXPECT_EQ(tags,
              (std::vector<std::string>{"TXTR", "OHDR", "SOBJ", "SOBJ", "SPCL", "GPNT", "GRND",
                                        "ATCH", "NATH", "WBAT", "PANI", "RANI", "PINF"}));
    EXPECT_EQ(chunk("PINF").size(), 14u) << "the text without terminator";
}

TEST_F(OofWriteTest, SobjFieldsAndComputedValues) {
    uint32_t s = add_subobject("hull", -1, {7, 8, 9});
    std::strcpy(model.sobj_props[s], "$fov=1");
    add_vertices(s, {{-2, 1, 3}, {4, -1, 0}, {0, 6, -2}});
    add_polygon(s, {2, 0, 1});
    Polygon& textured = add_polygon(s, {0, 1, 2});
    textured.n_txtr = 2;
    textured.texture = 5;
    uint32_t t = add_subobject("t");
    add_vertices(t, {{0, 0, 0}, {3, 0, 4}, {0, 5, 0}});
    add_polygon(t, {3, 4, 5});
    add_polygon(t, {4});
    add_polygon(t, {});
    export_bytes();
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
    export_bytes();
    EXPECT_EQ(parse_sobj(chunk("SOBJ")).words, (U32s{1, 2, 0}));
}

// Vertices and polygons are written grouped by subobject with corners renumbered. A corner on
// another subobject's vertex is written as the offset from this subobject's first vertex in
// the file, wrapped as a u32, so reading it back reaches the same vertex.
TEST_F(OofWriteTest, GroupedBySubobjectAndRenumberedEvenAcrossSubobjects) {
    uint32_t a = add_subobject("a"), b = add_subobject("b");
    add_vertices(b, {{5, 5, 5}});
    add_vertices(a, {{1, 1, 1}, {2, 2, 2}});
    add_vertices(b, {{6, 6, 6}});
    add_polygon(b, {0, 2, 4000});
    add_polygon(a, {1, 0, 3});
    export_bytes();
    WrittenSobj first = parse_sobj(chunk("SOBJ", 0)), second = parse_sobj(chunk("SOBJ", 1));
    EXPECT_EQ(first.positions, (std::vector<Vec3>{{1, 1, 1}, {2, 2, 2}}));
    EXPECT_EQ(second.positions, (std::vector<Vec3>{{5, 5, 5}, {6, 6, 6}}));
    EXPECT_EQ(second.head[0], 1u);
    ASSERT_EQ(first.polygons.size() + second.polygons.size(), 2u);
    EXPECT_EQ(first.polygons[0].corners, (U32s{0, 2, 3})) << "b's vertices follow a's two";
    EXPECT_EQ(second.polygons[0].corners, (U32s{0, 0xFFFFFFFF, 0}))
        << "a's vertex 1 lies one before b's first; a corner on no vertex becomes vertex 0";

    load_back();
    ASSERT_EQ(model.num_polygons, 2u);
    EXPECT_EQ(model.polygons[0].sobj, 0u) << "polygons come back grouped by subobject";
    auto at = [](uint32_t p, uint32_t c) { return model.vertices[model.polygons[p].points[c]]; };
    EXPECT_EQ(at(0, 0), (Vec3{1, 1, 1}));
    EXPECT_EQ(at(0, 1), (Vec3{5, 5, 5}));
    EXPECT_EQ(at(0, 2), (Vec3{6, 6, 6}));
    EXPECT_EQ(at(1, 1), (Vec3{2, 2, 2}));
    EXPECT_EQ(at(1, 0), (Vec3{5, 5, 5}));
}

TEST_F(OofWriteTest, StringsCountTheirZeroUnlessTheyFillWhatTheReaderTakes) {
    std::string name49(49, 'n');
    add_subobject(name49.c_str());
    model.num_textures = 2;
    std::memset(model.textures[0].name, 't', 36);
    std::strcpy(model.textures[1].name, "ab");
    model.num_special_points = 1;
    std::strcpy(model.special_points.properties[0], name49.c_str());
    export_bytes();
    ByteCursor txtr = chunk("TXTR");
    EXPECT_EQ(txtr.u32(), 2u);
    EXPECT_EQ(string_of(txtr), std::string(36, 't'));
    EXPECT_EQ(string_of(txtr), std::string("ab") + '\0');
    ByteCursor spcl = chunk("SPCL");
    spcl.skip(4);
    EXPECT_EQ(string_of(spcl), std::string(1, '\0'));
    EXPECT_EQ(string_of(spcl), name49);

    load_back();
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(std::string(model.textures[0].name), std::string(36, 't'));
    EXPECT_EQ(std::string(model.sobj_name[0]), name49);
    EXPECT_EQ(std::string(model.special_points.properties[0]), name49);
}

// 4000 polygons of 25 corners: an image of more than 768000 bytes.
void add_big_model() {
    model.num_subobjects = 1;
    model.sobj_parent[0] = -1;
    model.num_vertices = 25;
    model.num_polygons = MAX_POLY;
    for (uint32_t c = 0; c < 25; ++c)
        model.vertices[c] = {float(c), float(c % 5), float(c / 5)};
    for (Polygon& poly : model.polygons) {
        poly.num_points = 25;
        for (uint32_t c = 0; c < 25; ++c)
            poly.points[c] = c;
    }
}

TEST_F(OofWriteTest, ImageGrowsPastTheOldFixedBuffer) {
    add_big_model();
    export_bytes();
    EXPECT_GT(file.size(), 768000u);
    load_back();
    EXPECT_EQ(model.num_polygons, 4000u);
    EXPECT_EQ(model.polygons[3999].points[24], 24u);
}

TEST_F(OofWriteTest, UnwritableTargetIsReportedAndNothingChanges) {
    add_subobject("a");
    static Polymodel before;
    before = model;
    std::strcpy(view.export_path, dir.path("no-such-folder/out.oof").c_str());
    EXPECT_FALSE(export_oof());
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "Can't write the output file");
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);

    std::filesystem::create_directory(dir.path("folder.oof"));
    std::strcpy(view.export_path, dir.path("folder.oof").c_str());
    EXPECT_FALSE(export_oof());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("folder.oof")));
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
    std::strcpy(view.export_path, target.c_str());
    uint32_t s = add_subobject("a");
    add_vertices(s, std::vector<Vec3>(1000, Vec3{1, 0, 0}));
    EXPECT_EXIT(export_with_file_size_limit(1000, sink), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_whole_file(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    size_t entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.root()))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1u);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

// Caps the address space just above what the process uses, sends standard output to a file and
// exports a model whose image needs more than a megabyte.
[[noreturn]] void export_without_memory(const std::string& stdout_file) {
    std::FILE* out = std::freopen(stdout_file.c_str(), "w", stdout);
    if (!out)
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
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer needs more address space than the cap allows";
    add_big_model();
    std::strcpy(view.export_path, dir.path("out.oof").c_str());
    std::string captured = dir.path("stdout.txt");
    EXPECT_EXIT(export_without_memory(captured), ::testing::ExitedWithCode(1), "");
    std::vector<uint8_t> text = read_whole_file(captured);
    EXPECT_EQ(std::string(text.begin(), text.end()), "Not enough memory to allocate buffer\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.oof")));
}

} // namespace
