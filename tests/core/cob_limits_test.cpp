// load_cob refusals: unopenable and non-binary files, every limit at its size and one past it,
// indices outside their PolH, a Grou after a group-less PolH; each with its text and status.
#include <cstring>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CobLimitsTest : public CoreTest {
  protected:
    // Each import starts as after a fresh start: nothing loaded, no box shown.
    void import(const Bytes& bytes) {
        view.model_loaded = 0;
        sink.boxes.clear();
        stdout_of([&] { load_cob_bytes(bytes); });
    }
    void expect_refused(const Bytes& bytes, const std::string& text, int status) {
        expect_stop([&] { import(bytes); }, text, status);
        EXPECT_EQ(view.model_loaded, 0);
    }
    void expect_imported(const Bytes& bytes) {
        import(bytes);
        EXPECT_TRUE(sink.boxes.empty());
        EXPECT_EQ(view.model_loaded, 1);
    }
};

const CobBuildPolh triangle = cob_single_face({{0, 0, 0}, {0, -1, 0}, {0, -1, 1}});

// A PolH whose counts are stated but whose records are left out: only its limits are read.
Bytes counts_only(uint32_t vertices, uint32_t uvs, uint32_t faces) {
    CobBuildPolh empty;
    empty.trailer.clear();
    Bytes data = cob_polh_data(empty);
    data.resize(data.size() - 12);
    ByteWriter counts;
    counts.u32(vertices);
    counts.u32(uvs);
    counts.u32(faces);
    data.insert(data.end(), counts.data().begin(), counts.data().end());
    return data;
}

// n faces of `points` corners each over a PolH of n * points vertices, all used.
CobBuildPolh separate_faces(uint32_t n, uint32_t points) {
    CobBuildPolh polh;
    polh.uvs = {{0, 0}};
    for (uint32_t f = 0; f < n; ++f) {
        polh.faces.emplace_back();
        for (uint32_t k = 0; k < points; ++k) {
            polh.faces.back().points.push_back({uint32_t(polh.vertices.size()), 0});
            polh.vertices.push_back({float(f), float(k), 1});
        }
    }
    return polh;
}

// The given PolH chunks and raw PolH data, then END.
Bytes file(std::vector<CobBuildPolh> polhs, std::vector<Bytes> raw = {}) {
    CobBuilder cob;
    for (const auto& polh : polhs)
        cob.polh(polh);
    for (const auto& data : raw)
        cob.chunk("PolH", data);
    cob.end();
    return cob.bytes();
}

// One textured face and `names` materials, each naming its own texture file.
Bytes texture_files(uint32_t names) {
    CobBuilder cob;
    cob.polh(triangle);
    for (uint32_t k = 0; k < names; ++k)
        cob.mat1({uint16_t(k), 1, 1, 1, cob_texture_map("t" + std::to_string(k) + ".bmp")});
    cob.end();
    return cob.bytes();
}

TEST_F(CobLimitsTest, FilesThatCannotBeOpenedOrAreNotBinaryTrueSpaceEndWithMinusTwo) {
    copy_bounded(view.import_path, PATH_LEN, dir.path("absent.cob"));
    expect_stop([] { load_cob(); }, "Can't open the cob/scn file", -2);

    CobBuilder text('A');
    text.polh(triangle);
    text.end();
    Bytes header = CobBuilder().bytes();
    for (const Bytes& bytes : {text.bytes(), Bytes(header.begin(), header.begin() + 31), Bytes{}})
        expect_refused(bytes, "Not a binary trueSpace file", -2);
    expect_imported(header); // a bare header is a file that ends without "END "
    EXPECT_EQ(model.num_polygons, 0u);
}

TEST_F(CobLimitsTest, PathFillingTheWholeBufferIsReadWithinIt) {
    // 256 bytes without a terminator, followed in memory by another path buffer.
    std::string folder = dir.root().string() + "/";
    std::string name = (PATH_LEN - folder.size()) % 2 ? "f.cob" : "ff.cob";
    std::string path = folder;
    while (path.size() + name.size() < size_t(PATH_LEN))
        path += "./";
    path += name;
    ASSERT_EQ(path.size(), size_t(PATH_LEN));
    dir.write(name, file({triangle}));
    std::memcpy(view.import_path, path.data(), PATH_LEN);
    std::strcpy(view.export_path, "junk");
    stdout_of([] { load_cob(); });
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(model.num_polygons, 1u);
}

TEST_F(CobLimitsTest, EveryLimitImportsAtItsSizeAndIsRefusedOnePastIt) {
    CobBuildPolh used = separate_faces(200, 20);
    used.vertices.push_back({5, 5, 5}); // unused: dropped, so no limit is passed
    CobBuildPolh used_past = used;
    used_past.faces.push_back({{{4000, 0}}});
    CobBuildPolh faces = triangle;
    faces.faces.resize(4000, faces.faces[0]);
    CobBuildPolh faces_past = faces;
    faces_past.faces.push_back(faces.faces[0]);

    CobBuilder polhs, mats, groups;
    for (int k = 0; k < 100; ++k)
        polhs.chunk("PolH", {});
    mats.polh(triangle);
    for (int k = 0; k < 250; ++k)
        mats.mat1({uint16_t(k), 1, 0, 0, {}});
    uint32_t parent = 0;
    for (int g = 0; g < 60; ++g)
        parent = groups.grou("g" + std::to_string(g), {float(g), 0, 0}, parent);
    groups.polh(triangle, parent);
    Bytes polhs_at = polhs.bytes(), mats_at = mats.bytes(), groups_at = groups.bytes();
    polhs.chunk("PolH", {});
    mats.mat1({0, 0, 1, 0, {}});
    groups.grou("one too many", {0, 0, 0});

    struct Case {
        Bytes at, past;
        const uint32_t* count;
        uint32_t want;
        const char* text;
    };
    const Case cases[] = {
        {file({separate_faces(1, 20)}), file({separate_faces(1, 21)}),
         &model.polygons[0].num_points, 20, "cob: face points > 20... ouch"},
        {file({used}), file({used_past}), &model.num_vertices, 4000,
         "cob: vertices > MAX_VECT... ouch"},
        {file({faces}), file({faces_past}), &model.num_polygons, 4000,
         "cob: faces > MAX_POLY... ouch"},
        {polhs_at, polhs.bytes(), &model.num_polygons, 0, "cob: PolH > 100... ouch"},
        {mats_at, mats.bytes(), &model.num_polygons, 1, "cob: Mat1 > 250... ouch"},
        {texture_files(35), texture_files(36), &model.num_textures, 35,
         "cob: textures > MAX_TEXTURE... ouch"},
        {groups_at, groups.bytes(), &model.num_subobjects, 60, "cob: groups > MAX_SOBJ... ouch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        expect_imported(c.at);
        EXPECT_EQ(*c.count, c.want);
        expect_refused(c.past, c.text, 7);
    }
}

TEST_F(CobLimitsTest, CountsAndIndicesOutsideTheirTablesAreRefused) {
    CobBuildPolh next_polh = triangle; // the next PolH's vertex 0 is no vertex of this one
    next_polh.faces[0].points[2].vertex = 3;
    CobBuildPolh far = triangle;
    far.faces[0].points[0].vertex = 0xFFFFFFFFu;
    CobBuildPolh uv = triangle;
    uv.faces[0].points[1].uv = 1;
    CobBuilder groupless;
    groupless.polh(triangle);
    groupless.grou("late", {0, 0, 0});
    groupless.end();
    const std::pair<Bytes, const char*> cases[] = {
        // Import-table counts are checked before their records are read.
        {file({separate_faces(1, 3)}, {counts_only(0, 0, 10000)}), "cob: faces > 10000... ouch"},
        {file({}, {counts_only(6000, 0, 0), counts_only(4001, 0, 0)}),
         "cob: vertices > 10000... ouch"},
        {file({}, {counts_only(0, 20001, 0)}), "cob: uvs > 20000... ouch"},
        {file({}, {counts_only(0xFFFFFFFFu, 0, 0)}), "cob: vertices > 10000... ouch"},
        {texture_files(101), "cob: textures > 100... ouch"},
        {file({triangle, next_polh}), "cob: vertex index > vertex count... ouch"},
        {file({far}), "cob: vertex index > vertex count... ouch"},
        {file({uv}), "cob: uv index > uv count... ouch"},
        {groupless.bytes(), "cob: Grou after PolH... ouch"},
    };
    for (const auto& [bytes, text] : cases)
        expect_refused(bytes, text, 7);

    CobBuilder grouped; // a Grou after a grouped PolH is fine
    uint32_t root = grouped.grou("root", {0, 0, 0});
    grouped.polh(triangle, root);
    grouped.grou("child", {0, 0, 0}, root);
    grouped.end();
    expect_imported(grouped.bytes());
}

} // namespace
