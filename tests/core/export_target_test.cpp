// Export onto an existing name: a symlink is written through, an existing file keeps its
// permission bits and owner, and a file the user may not write, or whose owner cannot be kept,
// or the loaded archive is refused and left as it was.
#include <filesystem>
#include <grp.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "formats/oof_writer.h"
#include "formats/orf_writer.h"
#include "state/file_io.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/oof_builder.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t NOBODY = 65534;
const std::vector<uint8_t> OLD = {'o', 'l', 'd'};

class ExportTargetTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        image = export_oof_bytes();
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

    std::vector<uint8_t> image;
};

TEST_F(ExportTargetTest, SymlinkIsWrittenThroughToTheFileItNames) {
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

TEST_F(ExportTargetTest, ExistingFileKeepsItsPermissionBitsAndOwnerANewOneFollowsTheUmask) {
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
TEST_F(ExportTargetTest, FileTheUserMayNotWriteOrWhoseOwnerCannotBeKeptIsRefused) {
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
TEST_F(ExportTargetTest, TheLoadedArchiveIsRefusedAndStillLoads) {
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
