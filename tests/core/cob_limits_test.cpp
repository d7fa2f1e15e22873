// load_cob refusals: files that cannot be opened or are not binary trueSpace files, every table
// limit at its size and one past it, indices outside their PolH, and a Grou after a group-less
// PolH; each with its "ERROR" text and exit status, and nothing marked as loaded.
#include <cstring>
#include <string>

#include "formats/cob_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/cob_builder.h"

namespace {

class CobLimitsTest : public CoreTest {
  protected:
    // Each import starts as after a fresh start: nothing loaded, no box shown.
    void import(const std::vector<uint8_t>& bytes) {
        view.model_loaded = 0;
        sink.boxes.clear();
        copy_bounded(view.import_path, PATH_LEN, dir.write("limits.cob", bytes));
        stdout_of([] { load_cob(); });
    }
    void expect_refused(const std::vector<uint8_t>& bytes, const std::string& text, int status) {
        EXPECT_EQ(exit_status_of([&] { import(bytes); }), status) << text;
        EXPECT_EQ(last_caption(), "ERROR");
        EXPECT_EQ(last_text(), text);
        EXPECT_EQ(view.model_loaded, 0);
    }
    void expect_imported(const std::vector<uint8_t>& bytes) {
        import(bytes);
        EXPECT_TRUE(sink.boxes.empty());
        EXPECT_EQ(view.model_loaded, 1);
    }
};

const std::vector<Vec3> triangle = {{0, 0, 0}, {0, -1, 0}, {0, -1, 1}};

// A PolH whose counts are stated but whose records are left out: only its limits are read.
std::vector<uint8_t> counts_only(uint32_t vertices, uint32_t uvs, uint32_t faces) {
    CobBuildPolh empty;
    empty.trailer.clear();
    std::vector<uint8_t> data = cob_polh_data(empty);
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
        CobBuildFace face;
        for (uint32_t k = 0; k < points; ++k) {
            face.points.push_back({uint32_t(polh.vertices.size()), 0});
            polh.vertices.push_back({float(f), float(k), 1});
        }
        polh.faces.push_back(face);
    }
    return polh;
}

std::vector<uint8_t> one_polh(const CobBuildPolh& polh) {
    CobBuilder cob;
    cob.polh(polh);
    cob.end();
    return cob.bytes();
}

// One textured face and `names` materials, each naming its own texture file.
std::vector<uint8_t> texture_files(uint32_t names) {
    CobBuilder cob;
    cob.polh(cob_single_face(triangle));
    for (uint32_t k = 0; k < names; ++k)
        cob.mat1({uint16_t(k), 1, 1, 1, cob_texture_map("t" + std::to_string(k) + ".bmp")});
    cob.end();
    return cob.bytes();
}

TEST_F(CobLimitsTest, MissingFileAndFilesThatAreNotBinaryTrueSpaceEndWithMinusTwo) {
    copy_bounded(view.import_path, PATH_LEN, dir.path("absent.cob"));
    EXPECT_EQ(exit_status_of([] { load_cob(); }), -2);
    EXPECT_EQ(last_text(), "Can't open the cob/scn file");
    EXPECT_EQ(last_caption(), "ERROR");

    CobBuilder text('A');
    text.polh(cob_single_face(triangle));
    text.end();
    expect_refused(text.bytes(), "Not a binary trueSpace file", -2);
    std::vector<uint8_t> header = CobBuilder().bytes();
    expect_refused({header.begin(), header.begin() + 31}, "Not a binary trueSpace file", -2);
    expect_refused({}, "Not a binary trueSpace file", -2);
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
    CobBuilder cob;
    cob.polh(cob_single_face(triangle));
    cob.end();
    dir.write(name, cob.bytes());
    std::memcpy(view.import_path, path.data(), PATH_LEN);
    std::strcpy(view.export_path, "junk");
    stdout_of([] { load_cob(); });
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(model.num_polygons, 1u);
}

TEST_F(CobLimitsTest, FacePointsUpToTwenty) {
    expect_imported(one_polh(separate_faces(1, 20)));
    EXPECT_EQ(model.polygons[0].num_points, 20u);
    expect_refused(one_polh(separate_faces(1, 21)), "cob: face points > 20... ouch", 7);
}

TEST_F(CobLimitsTest, ImportTableCountsAreCheckedBeforeTheirRecordsAreRead) {
    CobBuilder faces;
    faces.polh(separate_faces(1, 3));
    faces.chunk("PolH", counts_only(0, 0, 10000));
    faces.end();
    expect_refused(faces.bytes(), "cob: faces > 10000... ouch", 7);

    CobBuilder vertices;
    vertices.chunk("PolH", counts_only(6000, 0, 0));
    vertices.chunk("PolH", counts_only(4001, 0, 0));
    vertices.end();
    expect_refused(vertices.bytes(), "cob: vertices > 10000... ouch", 7);

    CobBuilder uvs;
    uvs.chunk("PolH", counts_only(0, 20001, 0));
    uvs.end();
    expect_refused(uvs.bytes(), "cob: uvs > 20000... ouch", 7);

    CobBuilder huge;
    huge.chunk("PolH", counts_only(0xFFFFFFFFu, 0, 0));
    huge.end();
    expect_refused(huge.bytes(), "cob: vertices > 10000... ouch", 7);
}

TEST_F(CobLimitsTest, StoreLimitsOnUsedVerticesAndFaces) {
    CobBuildPolh full = separate_faces(200, 20);
    expect_imported(one_polh(full));
    EXPECT_EQ(model.num_vertices, 4000u);
    full.vertices.push_back({5, 5, 5}); // unused: dropped, so no limit is passed
    expect_imported(one_polh(full));
    full.faces.push_back({{{4000, 0}}});
    expect_refused(one_polh(full), "cob: vertices > MAX_VECT... ouch", 7);

    CobBuildPolh faces = cob_single_face(triangle);
    faces.faces.resize(4000, faces.faces[0]);
    expect_imported(one_polh(faces));
    EXPECT_EQ(model.num_polygons, 4000u);
    faces.faces.push_back(faces.faces[0]);
    expect_refused(one_polh(faces), "cob: faces > MAX_POLY... ouch", 7);
}

TEST_F(CobLimitsTest, PolhAndMat1ChunkCounts) {
    CobBuilder polh;
    for (int k = 0; k < 100; ++k)
        polh.chunk("PolH", {});
    expect_imported(polh.bytes());
    polh.chunk("PolH", {});
    expect_refused(polh.bytes(), "cob: PolH > 100... ouch", 7);

    CobBuilder mat;
    mat.polh(cob_single_face(triangle));
    for (int k = 0; k < 250; ++k)
        mat.mat1({uint16_t(k), 1, 0, 0, {}});
    expect_imported(mat.bytes());
    mat.mat1({0, 0, 1, 0, {}});
    expect_refused(mat.bytes(), "cob: Mat1 > 250... ouch", 7);
}

TEST_F(CobLimitsTest, TextureNamesUpToTheStoreListAndTheImportTable) {
    expect_imported(texture_files(35));
    EXPECT_EQ(model.num_textures, 35u);
    EXPECT_STREQ(model.textures[34].name, "t34");
    expect_refused(texture_files(36), "cob: textures > MAX_TEXTURE... ouch", 7);
    expect_refused(texture_files(101), "cob: textures > 100... ouch", 7);
}

TEST_F(CobLimitsTest, GroupsUpToTheStoreSubobjects) {
    CobBuilder cob;
    uint32_t parent = 0;
    for (int g = 0; g < 60; ++g)
        parent = cob.grou("g" + std::to_string(g), {float(g), 0, 0}, parent);
    cob.polh(cob_single_face(triangle), parent);
    expect_imported(cob.bytes());
    EXPECT_EQ(model.num_subobjects, 60u);
    EXPECT_EQ(model.sobj_parent[59], 58);
    cob.grou("one too many", {0, 0, 0});
    expect_refused(cob.bytes(), "cob: groups > MAX_SOBJ... ouch", 7);
}

TEST_F(CobLimitsTest, GrouAfterAGrouplessPolhIsRefusedButNotAfterAGroupedOne) {
    CobBuilder grouped;
    uint32_t root = grouped.grou("root", {0, 0, 0});
    grouped.polh(cob_single_face(triangle), root);
    grouped.grou("child", {0, 0, 0}, root);
    grouped.end();
    expect_imported(grouped.bytes());

    CobBuilder groupless;
    groupless.polh(cob_single_face(triangle));
    groupless.grou("late", {0, 0, 0});
    groupless.end();
    expect_refused(groupless.bytes(), "cob: Grou after PolH... ouch", 7);
}

TEST_F(CobLimitsTest, IndicesOutsideTheirPolhAreRefused) {
    CobBuildPolh vertex = cob_single_face(triangle);
    CobBuilder first_ok;
    first_ok.polh(vertex);
    vertex.faces[0].points[2].vertex = 3; // the next PolH's vertex 0 is no vertex of this one
    first_ok.polh(vertex);
    first_ok.end();
    expect_refused(first_ok.bytes(), "cob: vertex index > vertex count... ouch", 7);

    CobBuildPolh far = cob_single_face(triangle);
    far.faces[0].points[0].vertex = 0xFFFFFFFFu;
    expect_refused(one_polh(far), "cob: vertex index > vertex count... ouch", 7);

    CobBuildPolh uv = cob_single_face(triangle);
    uv.faces[0].points[1].uv = 1;
    expect_refused(one_polh(uv), "cob: uv index > uv count... ouch", 7);
}

} // namespace
