// Test helpers: fresh globals and a recording message sink for every test, temporary folders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "state/recording_sink.h"
#include "state/vec3.h"

// Assigns fresh default-constructed objects to every global of the core.
void reset_globals();

// A folder under the system temp directory, removed with its contents at destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};

std::vector<uint8_t> read_whole_file(const std::string& path);

// The folder of real files written by outside programs: $MESHLOOK_TESTDATA, else
// ../shared/testdata beside the repository. Tests skip what it does not hold.
std::filesystem::path shared_testdata_folder();

// Every count of the store within its table, every polygon's corners within the vertex table;
// with `imported`, also within the counts (the importers check every index against them).
void expect_store_within_tables(bool imported);

// Each component of got within tolerance of want.
inline void expect_near(Vec3 got, Vec3 want, float tolerance = 1e-5f) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

// Runs f with standard output captured and returns what it printed; an exception from f
// passes through after the capture has ended.
template <class F> std::string stdout_of(F&& f) {
    testing::internal::CaptureStdout();
    try {
        f();
    } catch (...) {
        testing::internal::GetCapturedStdout();
        throw;
    }
    return testing::internal::GetCapturedStdout();
}

// Base fixture: fresh globals, the recording sink installed, a temporary folder.
class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs f; returns the exit status it ended the program with, or `returned` if it returned.
    template <class F> int status_of(F&& f, int returned = 12345) {
        try {
            f();
        } catch (const ProgramExit& e) {
            return e.status;
        }
        return returned;
    }
    // Runs f, which must end the program; returns the exit status it ended with.
    template <class F> int exit_status_of(F&& f) {
        int status = status_of(f);
        EXPECT_NE(status, 12345) << "expected the program to end";
        return status;
    }
    // Runs f, which must end the program with status after an "ERROR" box holding text.
    template <class F> void expect_stop(F&& f, const std::string& text, int status) {
        EXPECT_EQ(exit_status_of(f), status) << text;
        EXPECT_EQ(last_text(), text);
        EXPECT_EQ(last_caption(), "ERROR");
    }
    // The text of the last box, or "" when none was shown.
    std::string last_text() const { return sink.boxes.empty() ? "" : sink.boxes.back().text; }
    std::string last_caption() const { return sink.boxes.empty() ? "" : sink.boxes.back().caption; }
    // Every box shown, one "CAPTION text" line each.
    std::string shown() const {
        std::string all;
        for (const RecordedBox& box : sink.boxes)
            all += box.caption + " " + box.text + "\n";
        return all;
    }

    RecordingSink sink;
    TempDir dir;
};
