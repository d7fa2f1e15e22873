// Exports: the polymodel (chunk order and conditions, computed fields, renumbered corners,
// strings, round trips) and room (exact bytes, model-space flattening, round trip) images, and
// the targets they are written to: a symlink is written through, an existing file keeps its
// permission bits and owner, and what cannot be replaced safely is refused and left as it was.
#include <grp.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "formats/orf_reader.h"
#include "formats/orf_writer.h"
#include "state/byte_cursor.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"
#include "tools/orf_builder.h"
#include "tools/store_builder.h"

namespace fs = std::filesystem;

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

class ExportTest : public CoreTest {
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
    std::vector<uint8_t> exported() {
        std::vector<uint8_t> bytes = export_orf_bytes();
        EXPECT_TRUE(sink.boxes.empty());
        return bytes;
    }
    // The room export read back.
    void reload() {
        std::vector<uint8_t> bytes = exported();
        clear_model();
        load_orf_bytes(bytes);
    }
    bool export_to(const std::string& path, bool (*write)() = export_oof) {
        sink.boxes.clear();
        copy_bounded(view.export_path, PATH_LEN, path);
        bool ok = write();
        EXPECT_EQ(last_text(), ok ? "" : "Can't write the output file");
        return ok;
    }
    std::set<std::string> names_in(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
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
TEST_F(ExportTest, ChunksComeInTheirOrderEachUnderItsCondition) {
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
    std::swap(model.pos_num_keys[0], model.pos_num_keys[1]); // only the first has keys
    export_image();
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

TEST_F(ExportTest, SobjFieldsAndComputedValues) {
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
    model.vertices[3998] = {9, 9, 9}; // past the model's vertices: no position, the origin
    add_polygon(t, {3, 3998});
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
    ASSERT_EQ(spanned.size(), 4u);
    EXPECT_FLOAT_EQ(spanned[0].span_xz, 5.0f);
    EXPECT_NEAR(spanned[0].span_yz, 6.40312f, 1e-5);
    for (int p : {1, 2})
        EXPECT_EQ(spanned[p].span_xz + spanned[p].span_yz, 0.0f);
    EXPECT_EQ(spanned[3].span_xz + spanned[3].span_yz, 2.0f);

    model.num_used_frames = 1;
    export_image();
    EXPECT_EQ(parse_sobj(chunk("SOBJ")).words, (U32s{1, 2, 0}));
}

// Vertices (with their normals) and polygons are written grouped by subobject with corners
// renumbered, the way the importers' interleaved stores need. A corner on another subobject's
// vertex is written as the offset from this subobject's first vertex in the file, wrapped as a
// u32, so reading it back reaches the same vertex.
TEST_F(ExportTest, GroupedBySubobjectAndRenumberedEvenAcrossSubobjects) {
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

TEST_F(ExportTest, StringsCountTheirZeroUnlessTheyFillWhatTheReaderTakes) {
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
    EXPECT_EQ(parse_sobj(chunk("SOBJ")).name, s49);
}

// The old layouts come back with neutral alpha, as the reader leaves them; the maximal model's
// image is larger than the old fixed buffer of 768000 bytes.
TEST_F(ExportTest, ReadModelsComeBackTheSame) {
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
TEST_F(ExportTest, FailedWriteKeepsTheExistingFile) {
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

TEST_F(ExportTest, NoMemoryForTheImageEndsWithStatusOne) {
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

TEST_F(ExportTest, ChunksComeInOrderWithExactLengthsAndThePlaceholderTexture) {
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
    static Polymodel before;
    before = model;
    EXPECT_EQ(exported(), expected);
    EXPECT_EQ(expected.size(), 71u + 12 * 3 + (19 + 30 * 3) + (19 + 30 * 4));
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0)
        << "a write leaves the store as it was";

    // Without polygons: an empty polygon chunk, then the end chunk.
    model.num_polygons = 0;
    auto bytes = exported();
    ASSERT_EQ(bytes.size(), 71u + 12 * 3);
    ByteCursor in{std::span(bytes).last(16)};
    for (uint32_t want : {2u, 0u, 3u, 4u})
        EXPECT_EQ(in.u32(), want);
}

TEST_F(ExportTest, VerticesAreMovedByEveryAncestorOffsetBeforeTheShift) {
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

TEST_F(ExportTest, LargestModelIsWrittenWhole) {
    fill_maximal_model();
    auto bytes = exported();
    ASSERT_EQ(bytes.size(), 71u + 12 * 4000 + 4000 * (19 + 30 * 25));
    ByteCursor in{std::span(bytes).last(8 + 30)};
    const Polygon& last = model.polygons[MAX_POLY - 1];
    EXPECT_EQ(in.u16(), last.points[24]);
    EXPECT_EQ(in.f32(), last.u[24]);
}

TEST_F(ExportTest, RoundTripKeepsTheCentredShape) {
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
    reload();
    EXPECT_EQ(std::vector(model.vertices, model.vertices + model.num_vertices),
              std::vector(expected, expected + 5));
    EXPECT_EQ(model.num_subobjects + model.num_polygons, 4u);
    // A room read back is written again byte for byte.
    auto second = exported();
    reload();
    EXPECT_EQ(exported(), second);
}

// The polymodel reader keeps corners up to the end of the vertex table, past the model's own
// vertices. Either export writes such a corner as its subobject's first vertex, so the
// matching import reads the file back; a room without vertices has no corners.
TEST_F(ExportTest, CornerOnNoVertexBecomesItsSubobjectsFirstVertexInEitherFormat) {
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

constexpr uid_t NOBODY = 65534;
const std::vector<uint8_t> OLD = {'o', 'l', 'd'};

TEST_F(ExportTest, SymlinkIsWrittenThroughToTheFileItNames) {
    export_image();
    fs::create_directory(dir.path("real"));
    fs::create_symlink("real/model.oof", dir.path("relative.oof"));
    fs::create_symlink(dir.path("relative.oof"), dir.path("chain.oof"));
    fs::create_symlink("real/new.oof", dir.path("dangling.oof"));
    struct Case {
        const char *link, *written;
    };
    for (Case c : {Case{"relative.oof", "real/model.oof"}, Case{"chain.oof", "real/model.oof"},
                   Case{"dangling.oof", "real/new.oof"}}) {
        SCOPED_TRACE(c.link);
        dir.write("real/model.oof", OLD);
        fs::path before = fs::read_symlink(dir.path(c.link));
        EXPECT_TRUE(export_to(dir.path(c.link)));
        ASSERT_TRUE(fs::is_symlink(dir.path(c.link)));
        EXPECT_EQ(fs::read_symlink(dir.path(c.link)), before);
        EXPECT_EQ(read_whole_file(dir.path(c.written)), image);
    }
    // A loop of links, a pipe, a missing folder and a folder in the way (so the finished
    // temporary file cannot be renamed) are refused; the pipe stays a pipe.
    fs::create_symlink("loop.oof", dir.path("loop.oof"));
    ASSERT_EQ(mkfifo(dir.path("pipe.oof").c_str(), 0600), 0);
    for (const char* name : {"loop.oof", "pipe.oof", "missing/out.oof", "real"})
        for (bool (*write)() : {export_oof, export_orf})
            EXPECT_FALSE(export_to(dir.path(name), write)) << name;
    EXPECT_TRUE(fs::is_fifo(dir.path("pipe.oof")));
    EXPECT_EQ(names_in(dir.root()),
              (std::set<std::string>{"real", "relative.oof", "chain.oof", "dangling.oof",
                                     "loop.oof", "pipe.oof"}));
    EXPECT_EQ(names_in(dir.path("real")), (std::set<std::string>{"model.oof", "new.oof"}));
}

TEST_F(ExportTest, ExistingFileKeepsItsPermissionBitsAndOwnerANewOneFollowsTheUmask) {
    export_image();
    struct Case {
        const char* name;
        mode_t mode;
        bool other_owner; // needs root to set up
    };
    for (Case c : {Case{"private.oof", 0600, false}, Case{"shared.oof", 0664, false},
                   Case{"nobodys.oof", 0604, true}}) {
        if (c.other_owner && geteuid() != 0)
            continue;
        SCOPED_TRACE(c.name);
        std::string path = dir.write(c.name, OLD);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        if (c.other_owner) {
            ASSERT_EQ(chown(path.c_str(), NOBODY, NOBODY), 0);
        }
        struct stat before, after;
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        EXPECT_TRUE(export_to(path));
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(read_whole_file(path), image);
    }
    mode_t old_mask = umask(027);
    EXPECT_TRUE(export_to(dir.path("new.oof")));
    umask(old_mask);
    struct stat made;
    ASSERT_EQ(stat(dir.path("new.oof").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0640u);
}

// As the unprivileged user, every export must be refused with the message; exits 0 if so.
[[noreturn]] void export_as_nobody(const std::vector<std::string>& paths,
                                   const RecordingSink& sink) {
    if (setgroups(0, nullptr) != 0 || setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
        setresuid(NOBODY, NOBODY, NOBODY) != 0)
        std::_Exit(2);
    for (const std::string& path : paths) {
        copy_bounded(view.export_path, PATH_LEN, path);
        if (export_oof() || sink.boxes.back().text != "Can't write the output file") {
            std::fprintf(stderr, "not refused: %s\n", path.c_str());
            std::_Exit(1);
        }
    }
    std::_Exit(0);
}

// Permissions do not bind root, so the exports run in a child process as nobody, in a folder
// nobody may write.
TEST_F(ExportTest, FileTheUserMayNotWriteOrWhoseOwnerCannotBeKeptIsRefused) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to another user and to become nobody";
    fs::path folder = dir.root() / "nobodys";
    fs::create_directory(folder);
    ASSERT_EQ(chown(folder.c_str(), NOBODY, NOBODY), 0);
    struct Case {
        const char* name;
        mode_t mode;
        uid_t owner;
    };
    const Case cases[] = {{"read-only.oof", 0444, NOBODY}, {"roots.oof", 0666, 0}};
    std::vector<std::string> paths;
    for (const Case& c : cases) {
        paths.push_back(dir.write("nobodys/" + std::string(c.name), OLD));
        ASSERT_EQ(chmod(paths.back().c_str(), c.mode), 0);
        ASSERT_EQ(chown(paths.back().c_str(), c.owner, c.owner), 0);
    }
    EXPECT_EXIT(export_as_nobody(paths, sink), ::testing::ExitedWithCode(0), "");
    for (const Case& c : cases) {
        struct stat after;
        ASSERT_EQ(stat((folder / c.name).c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode) << c.name;
        EXPECT_EQ(after.st_uid, c.owner) << c.name;
        EXPECT_EQ(read_whole_file((folder / c.name).string()), OLD) << c.name;
    }
    EXPECT_EQ(names_in(folder), (std::set<std::string>{"read-only.oof", "roots.oof"}));
}

// The program reads each model from the archive again; replacing it would break every later
// load. Caught under its own name, a symlink, and the name the archive was found by ignoring case.
TEST_F(ExportTest, TheLoadedArchiveIsRefusedAndStillLoads) {
    std::vector<uint8_t> archive = build_hog({{"ship.oof", build_oof(2300, {oof_pinf("ship")})}});
    dir.write("Models.HOG", archive);
    fs::create_symlink("Models.HOG", dir.path("link.hog"));
    copy_bounded(hog.hog_path, PATH_LEN, dir.path("models.hog"));
    load_hog();
    for (const char* name : {"Models.HOG", "link.hog"}) {
        for (bool (*write)() : {export_oof, export_orf}) {
            SCOPED_TRACE(name);
            EXPECT_FALSE(export_to(dir.path(name), write));
        }
    }
    EXPECT_EQ(read_whole_file(dir.path("Models.HOG")), archive);
    EXPECT_TRUE(fs::is_symlink(dir.path("link.hog")));
    load_oof(0);
    EXPECT_STREQ(model.pinf_text, "ship");
    leave_archive_mode();
    EXPECT_TRUE(export_to(dir.path("Models.HOG"))) << "no longer the loaded archive";
}

} // namespace
