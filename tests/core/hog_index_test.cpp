// load_hog: offsets, extension lists, the entry limit, and every refusal with text and status.
#include "archive/hog_index.h"
#include "state/byte_writer.h"
#include "state/file_io.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<HogFile> files_of_sizes(std::initializer_list<size_t> sizes) {
    std::vector<HogFile> files;
    for (size_t n : sizes)
        files.push_back({"f" + std::to_string(files.size()) + ".oof", Bytes(n, 7)});
    return files;
}

class HogTest : public CoreTest {
  protected:
    void expect_bad(const Bytes& bytes) {
        expect_stop([&] { load_hog_bytes(bytes); }, "Bad hog file", -2);
    }
};

TEST_F(HogTest, OffsetsAreARunningSumFromTheDataOffsetThatDoesNotWrap) {
    load_hog_bytes(build_hog(files_of_sizes({100, 0, 50}), 212));
    ASSERT_EQ(hog.num_entries, 3u);
    EXPECT_EQ(
        (std::vector<uint64_t>{hog.entries[0].offset, hog.entries[1].offset, hog.entries[2].offset,
                               hog.entries[0].length, hog.entries[2].length}),
        (std::vector<uint64_t>{212, 312, 312, 100, 50}));
    EXPECT_TRUE(sink.boxes.empty());

    // Directory only: lengths claim 3 GB each; nothing reads the data.
    ByteWriter out;
    out.text("HOG2");
    out.u32(3);
    out.u32(212);
    out.zeros(56);
    for (int i = 0; i < 3; ++i) {
        out.zeros(40);
        out.u32(3000000000u);
        out.u32(0);
    }
    load_hog_bytes(out.take());
    EXPECT_EQ(hog.entries[2].offset, 212u + 6000000000ull);
}

TEST_F(HogTest, EntriesAreSortedIntoListsByTheirLastExtensionIgnoringCase) {
    std::string name36 = std::string(32, 'n') + ".oof"; // stored without terminator
    load_hog_bytes(build_hog({{"SHIP.OOF", {}},
                              {"ship.oof.bak", {}},
                              {"readme", {}},
                              {"rock.Ogf", {}},
                              {"fire.oaf", {}},
                              {"table.gam", {}},
                              {name36, {}},
                              {"a.oof", {}}}));
    EXPECT_EQ(hog.num_entries, 8u);
    EXPECT_EQ(std::string(hog.entries[6].name), name36);
    EXPECT_EQ(std::vector(hog.oof_entries, hog.oof_entries + hog.num_oof),
              (std::vector<uint32_t>{0, 6, 7}))
        << "directory order, not sorted by name";
    EXPECT_EQ(std::vector(hog.ogf_entries, hog.ogf_entries + hog.num_ogf),
              std::vector<uint32_t>{3});
    EXPECT_EQ(std::vector(hog.oaf_entries, hog.oaf_entries + hog.num_oaf),
              std::vector<uint32_t>{4});
    EXPECT_EQ(find_hog_texture(hog.ogf_entries, hog.num_ogf, "ROCK.OGF"), &hog.entries[3]);
    EXPECT_EQ(find_hog_texture(hog.ogf_entries, hog.num_ogf, "rock"), nullptr);

    load_hog_bytes(build_hog({}));
    EXPECT_EQ(hog.num_entries + hog.num_oof + hog.num_ogf + hog.num_oaf, 0u);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(HogTest, TheEntryLimitLoadsAndOnePastItEndsWithStatusZeroAfterReadingIt) {
    std::vector<HogFile> files(4500, HogFile{"x.ogf", {}});
    load_hog_bytes(build_hog(files));
    EXPECT_EQ(hog.num_entries, 4500u);
    EXPECT_EQ(hog.num_ogf, 4500u);
    files[4499].name = "last.oof";
    files.push_back(files[0]);
    // From a file, only the directory the header announces is read, up to the limit.
    copy_bounded(hog.hog_path, PATH_LEN, dir.write("big.hog", build_hog(files)));
    expect_stop([] { load_hog(); }, "hog files > 4500", 0);
    EXPECT_STREQ(hog.entries[4499].name, "last.oof");
}

TEST_F(HogTest, WrongMagicTruncatedHeaderOrDirectoryAndAbsurdCountsAreABadHogFile) {
    Bytes bytes = build_hog(files_of_sizes({3, 5}));
    for (size_t n = 0; n < 68 + 2 * 48; ++n)
        expect_bad(Bytes(bytes.begin(), bytes.begin() + n));
    Bytes magic = bytes;
    magic[3] = '3';
    expect_bad(magic);
    Bytes absurd = bytes;
    std::fill_n(absurd.begin() + 4, 4, 0xFF);
    expect_bad(absurd);
}

TEST_F(HogTest, FileIsFoundIgnoringCaseAndAMissingOneCannotBeOpened) {
    copy_bounded(hog.hog_path, PATH_LEN, dir.path("absent.hog"));
    expect_stop([] { load_hog(); }, "Can't open the hog file", -2);
    Bytes bytes = build_hog(files_of_sizes({4, 6}));
    dir.write("Demo.HOG", bytes);
    copy_bounded(hog.hog_path, PATH_LEN, dir.path("demo.hog"));
    load_hog();
    EXPECT_EQ(hog.num_oof, 2u);
    EXPECT_EQ(hog.entries[1].offset, 68u + 2 * 48 + 4);
    // Cut inside the directory.
    dir.write("Demo.HOG", Bytes(bytes.begin(), bytes.begin() + 68 + 48 + 20));
    expect_stop([] { load_hog(); }, "Bad hog file", -2);
}

} // namespace
