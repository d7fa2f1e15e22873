// Exports: the polymodel and room images against the bytes the builders make (grouping,
// renumbered corners, computed fields, strings, model-space flattening), a round trip, and
// the targets they are written to: a symlink is written through, an existing file keeps its
// permission bits and owner, and what cannot be replaced safely is refused and left as it was.
#include <grp.h>
#include <malloc.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

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
#include "tools/sample_shapes.h"
#include "tools/store_builder.h"

namespace fs = std::filesystem;

namespace {

class ExportTest : public CoreTest {
  protected:
    std::vector<uint8_t> exported() {
        std::vector<uint8_t> bytes = export_orf_bytes();
        EXPECT_TRUE(sink.boxes.empty());
        return bytes;
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
};

// Vertices (with normals and alphas) and polygons are written grouped by subobject with corners
// renumbered, the way the importers' interleaved stores need. A corner on another subobject's
// vertex is the offset from this subobject's first vertex in the file, wrapped as a u32, so
// reading it back reaches the same vertex; a corner on no vertex becomes vertex 0. OHDR holds
// model-space bounds and radius, each SOBJ its own-frame radius and centre; strings count their
// zero unless they fill what the reader takes; PANI has a block per subobject. Chunks without
// content are left out.
TEST_F(ExportTest, StoreIsWrittenGroupedBySubobjectWithCornersRenumberedAndFieldsComputed) {
    const std::string s49(49, 'n');
    int root = add_subobject(-1, {10, 0, 0}), child = add_subobject(root, {0, 5, 0});
    std::strcpy(model.sobj_name[root], s49.c_str());
    std::strcpy(model.sobj_props[root], "$fov=1");
    const Vec3 positions[] = {{1, 0, 0}, {-2, -3, 7}, {-20, 1, -1}, {4, -1, 0}};
    for (uint32_t v = 0; v < 4; ++v) // interleaved: child, root, child, root
        add_vertex(v % 2 ? root : child, positions[v], {0, 0, float(v)});
    model.vertex_alpha[3] = 0.5f;
    model.vertices[3998] = {9, 9, 9}; // past the model's vertices: a corner there spans from 0
    add_polygon(child, {2, 3, 3998});
    add_polygon(root, {1, 3, 0}).texture = 5;
    model.polygons[1].n_txtr = 2;
    add_polygon(child, {2});
    add_polygon(root, {});
    model.num_textures = 2;
    std::memset(model.textures[0].name, 't', 36);
    std::strcpy(model.textures[1].name, "ab");
    add_special_point("", s49.c_str(), {}, 0);
    add_position_key(0, 9, {});
    add_position_key(0, 4, {1, 2, 3});
    const Polygon* p = model.polygons;
    OofSubobject written_root(
        0, -1, Vec3{10, 0, 0}, s49, std::string("$fov=1") + '\0',
        std::vector<Vec3>{{-2, -3, 7}, {4, -1, 0}}, std::vector<Vec3>{{0, 0, 1}, {0, 0, 3}},
        std::vector<float>{1, 0.5f},
        std::vector{oof_polygon_of(p[1], {0, 1, 2}, std::sqrt(85.0f), std::sqrt(58.0f)),
                    oof_polygon_of(p[3], {})},
        0, OofSobjComputed{std::sqrt(62.0f), {1, -2, 3.5f}});
    OofSubobject written_child(
        1, 0, Vec3{0, 5, 0}, std::string("sobj1") + '\0', std::string(1, '\0'),
        std::vector<Vec3>{{1, 0, 0}, {-20, 1, -1}}, std::vector<Vec3>{{0, 0, 0}, {0, 0, 2}},
        std::vector<float>{1, 1},
        std::vector{oof_polygon_of(p[0], {1, 0xFFFFFFFF, 0}, std::sqrt(577.0f), std::sqrt(5.0f)),
                    oof_polygon_of(p[2], {1})},
        0, OofSobjComputed{std::sqrt(402.0f), {-9.5f, 0.5f, -0.5f}});
    static Polymodel before;
    before = model;
    OofChunk ohdr = oof_ohdr(2, std::sqrt(197.0f), {-10, -3, -1}, {14, 6, 7});
    EXPECT_EQ(export_oof_bytes(),
              build_oof(2300, {oof_txtr({std::string(36, 't'), std::string("ab") + '\0'}), ohdr,
                               oof_sobj(written_root), oof_sobj(written_child),
                               oof_spcl({{std::string(1, '\0'), s49, {}, 0}}),
                               oof_pani({{{9, {}}, {4, {1, 2, 3}}}, {}})}));
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0)
        << "a write leaves the store as it was";
    model.num_textures = model.num_special_points = model.pos_num_keys[0] = 0;
    EXPECT_EQ(export_oof_bytes(),
              build_oof(2300, {ohdr, oof_sobj(written_root), oof_sobj(written_child)}));
}

// The image is larger than the old fixed buffer of 768000 bytes.
TEST_F(ExportTest, LargestModelComesBackTheSame) {
    load_oof_bytes(oof_maximal_model());
    static Polymodel before;
    before = model;
    std::vector<uint8_t> image = export_oof_bytes();
    EXPECT_GT(image.size(), 768000u);
    load_oof_bytes(image);
    EXPECT_TRUE(sink.boxes.empty()) << last_text();
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0);
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
    malloc_trim(0); // hands back what earlier tests freed, so the image needs new memory
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
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

// Model-space vertices moved into the room's frame (the parent chain itself is checked with the
// model radius), every polygon on the placeholder texture; a corner on no vertex on its subobject's
// first vertex, since the reader takes only corners on a vertex of the room; a room without
// vertices has no corners.
TEST_F(ExportTest, RoomHoldsTheShiftedModelOnThePlaceholderTexture) {
    add_subobject(-1, {0, 0, 0});
    add_subobject(0, {1, 0, 0});
    add_vertex(0, {1, 2, 3});
    add_vertex(1, {-4, 5.5f, -6});
    add_vertex(1, {0, 0, 0});
    add_vertex(500, {1, 1, 1}); // of no subobject: no offset
    add_polygon(0, {2, 0, 1}, {0, 0.6f, 0.8f}).texture = 3;
    add_polygon(1, {1, 4, 2, 1}, {1, 0, 0}).texture = 1; // vertex 4 is one past the last
    model.polygons[0].n_txtr = model.polygons[1].n_txtr = 1;
    model.num_textures = 4;
    std::strcpy(model.textures[3].name, "rock");
    const std::vector<Vec3> shifted = {
        {2049, -98, 2051}, {2045, -94.5f, 2042}, {2049, -100, 2048}, {2049, -99, 2049}};
    OrfPolygon on_first = orf_polygon_of(model.polygons[1]);
    on_first.points[1].vertex = 1;
    static Polymodel before;
    before = model;
    EXPECT_EQ(exported(), orf_written_room(shifted, {orf_polygon_of(model.polygons[0]), on_first}));
    EXPECT_EQ(std::memcmp(&before, &model, sizeof model), 0)
        << "a write leaves the store as it was";
    model.num_polygons = 0;
    EXPECT_EQ(exported(), orf_written_room(shifted, {}));
    reset_globals();
    add_subobject(-1, {0, 0, 0});
    add_polygon(0, {0, 7});
    EXPECT_EQ(exported(), orf_written_room({}, {{{0, 0, 1}, 0, {}}}));
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

constexpr uid_t NOBODY = 65534;
const std::vector<uint8_t> OLD = {'o', 'l', 'd'};

TEST_F(ExportTest, SymlinkIsWrittenThroughToTheFileItNames) {
    const std::vector<uint8_t> image = export_oof_bytes();
    fs::create_directory(dir.path("real"));
    fs::create_symlink("real/model.oof", dir.path("relative.oof"));
    fs::create_symlink(dir.path("relative.oof"), dir.path("chain.oof"));
    fs::create_symlink("n", dir.path("dangling.oof")); // the shortest target a link holds
    for (auto [link, written] : {std::pair{"relative.oof", "real/model.oof"},
                                 {"chain.oof", "real/model.oof"},
                                 {"dangling.oof", "n"}}) {
        SCOPED_TRACE(link);
        dir.write("real/model.oof", OLD);
        fs::path before = fs::read_symlink(dir.path(link));
        EXPECT_TRUE(export_to(dir.path(link)));
        ASSERT_TRUE(fs::is_symlink(dir.path(link)));
        EXPECT_EQ(fs::read_symlink(dir.path(link)), before);
        EXPECT_EQ(read_whole_file(dir.path(written)), image);
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
              (std::set<std::string>{"real", "relative.oof", "chain.oof", "dangling.oof", "n",
                                     "loop.oof", "pipe.oof"}));
    EXPECT_EQ(names_in(dir.path("real")), std::set<std::string>{"model.oof"});
}

// Permission bits and owner of a file.
std::tuple<mode_t, uid_t, gid_t> mode_and_owner(const std::string& path) {
    struct stat s {};
    EXPECT_EQ(stat(path.c_str(), &s), 0) << path;
    return {s.st_mode & 07777, s.st_uid, s.st_gid};
}

TEST_F(ExportTest, ExistingFileKeepsItsPermissionBitsAndOwnerANewOneFollowsTheUmask) {
    const std::vector<uint8_t> image = export_oof_bytes();
    for (auto [name, mode, owner] : {std::tuple{"private.oof", 0600, uid_t(-1)},
                                     {"shared.oof", 0664, uid_t(-1)},
                                     {"nobodys.oof", 0604, NOBODY}}) {
        if (owner == NOBODY && geteuid() != 0)
            continue; // only root can give a file to another user
        std::string path = dir.write(name, OLD);
        ASSERT_EQ(chmod(path.c_str(), mode) | chown(path.c_str(), owner, owner), 0);
        auto before = mode_and_owner(path);
        EXPECT_TRUE(export_to(path));
        EXPECT_EQ(mode_and_owner(path), before) << name;
        EXPECT_EQ(read_whole_file(path), image) << name;
    }
    mode_t old_mask = umask(027);
    EXPECT_TRUE(export_to(dir.path("new.oof")));
    umask(old_mask);
    EXPECT_EQ(std::get<0>(mode_and_owner(dir.path("new.oof"))), 0640u);
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
    const std::tuple<const char*, mode_t, uid_t> cases[] = {{"read-only.oof", 0444, NOBODY},
                                                            {"roots.oof", 0666, 0}};
    std::vector<std::string> paths;
    for (auto [name, mode, owner] : cases) {
        paths.push_back(dir.write("nobodys/" + std::string(name), OLD));
        ASSERT_EQ(chmod(paths.back().c_str(), mode) | chown(paths.back().c_str(), owner, owner), 0);
    }
    EXPECT_EXIT(export_as_nobody(paths, sink), ::testing::ExitedWithCode(0), "");
    for (size_t i = 0; i < paths.size(); ++i) {
        auto [name, mode, owner] = cases[i];
        EXPECT_EQ(mode_and_owner(paths[i]), std::tuple(mode, owner, gid_t(owner))) << name;
        EXPECT_EQ(read_whole_file(paths[i]), OLD) << name;
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
