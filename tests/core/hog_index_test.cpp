// load_hog: offsets, extension lists, the entry limit, and every refusal with text and status.
#include <cstring>

#include "archive/hog_index.h"
#include "state/byte_writer.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"

namespace {

class HogTest : public CoreTest {
  protected:
    void load(const std::vector<uint8_t>& bytes) {
        std::strcpy(hog.hog_path, dir.write("test.hog", bytes).c_str());
        load_hog();
    }
    int load_status(const std::vector<uint8_t>& bytes) {
        return exit_status_of([&] { load(bytes); });
    }
    std::vector<uint8_t> header_only(uint32_t count) {
        ByteWriter out;
        out.text("HOG2");
        out.u32(count);
        out.u32(68 + 48 * count);
        out.zeros(56);
        return out.take();
    }
};

std::vector<HogFile> files_of_sizes(std::initializer_list<size_t> sizes) {
    std::vector<HogFile> files;
    for (size_t n : sizes)
        files.push_back({"f" + std::to_string(files.size()) + ".oof", std::vector<uint8_t>(n, 7)});
    return files;
}

TEST_F(HogTest, OffsetsAreARunningSumFromTheDataOffset) {
    load(build_hog(files_of_sizes({100, 0, 50}), 212));
    ASSERT_EQ(hog.num_entries, 3u);
    EXPECT_EQ(hog.entries[0].offset, 212u);
    EXPECT_EQ(hog.entries[1].offset, 312u);
    EXPECT_EQ(hog.entries[2].offset, 312u);
    EXPECT_EQ(hog.entries[0].length, 100u);
    EXPECT_EQ(hog.entries[2].length, 50u);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(HogTest, OffsetsPastFourGigabytesDoNotWrap) {
    // Directory only: lengths claim 3 GB each; nothing reads the data.
    ByteWriter out;
    out.text("HOG2");
    out.u32(3);
    out.u32(212);
    out.zeros(56);
    for (int i = 0; i < 3; ++i) {
        out.zeros(36);
        out.u32(0);
        out.u32(3000000000u);
        out.u32(0);
    }
    load(out.take());
    EXPECT_EQ(hog.entries[2].offset, 212u + 6000000000ull);
}

TEST_F(HogTest, EntriesAreSortedIntoListsByTheirLastExtensionIgnoringCase) {
    load(build_hog({{"SHIP.OOF", {}},
                    {"ship.oof.bak", {}},
                    {"readme", {}},
                    {"rock.Ogf", {}},
                    {"fire.oaf", {}},
                    {"table.gam", {}},
                    {"b.oof", {}},
                    {"a.oof", {}}}));
    EXPECT_EQ(hog.num_entries, 8u);
    ASSERT_EQ(hog.num_oof, 3u);
    EXPECT_EQ(hog.oof_entries[0], 0u);
    EXPECT_EQ(hog.oof_entries[1], 6u) << "directory order, not sorted by name";
    EXPECT_EQ(hog.oof_entries[2], 7u);
    ASSERT_EQ(hog.num_ogf, 1u);
    EXPECT_EQ(hog.ogf_entries[0], 3u);
    ASSERT_EQ(hog.num_oaf, 1u);
    EXPECT_EQ(hog.oaf_entries[0], 4u);
    EXPECT_EQ(find_hog_texture(hog.ogf_entries, hog.num_ogf, "ROCK.OGF"), &hog.entries[3]);
    EXPECT_EQ(find_hog_texture(hog.ogf_entries, hog.num_ogf, "rock"), nullptr);
}

TEST_F(HogTest, NameOfExactly36BytesIsReadWithoutTerminator) {
    std::string name(32, 'n');
    name += ".oof";
    auto bytes = build_hog({{name, {1, 2}}});
    load(bytes);
    EXPECT_EQ(std::string(hog.entries[0].name), name);
    EXPECT_EQ(hog.num_oof, 1u);
}

TEST_F(HogTest, ZeroEntriesLoadsWithoutMessageAndNoArchive) {
    load(header_only(0));
    EXPECT_EQ(hog.num_entries, 0u);
    EXPECT_EQ(hog.num_oof, 0u);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(HogTest, ExactlyTheEntryLimitLoads) {
    std::vector<HogFile> files(4500, HogFile{"x.ogf", {}});
    load(build_hog(files));
    EXPECT_EQ(hog.num_entries, 4500u);
    EXPECT_EQ(hog.num_ogf, 4500u);
}

TEST_F(HogTest, OneEntryPastTheLimitEndsWithStatusZeroAfterReadingTheFirst4500) {
    std::vector<HogFile> files(4501, HogFile{"x.oof", {}});
    files[4499].name = "last.oof";
    EXPECT_EQ(load_status(build_hog(files)), 0);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "hog files > 4500");
    EXPECT_STREQ(hog.entries[4499].name, "last.oof");
}

TEST_F(HogTest, MissingFileEndsWithCantOpen) {
    std::strcpy(hog.hog_path, dir.path("absent.hog").c_str());
    EXPECT_EQ(exit_status_of([] { load_hog(); }), -2);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "Can't open the hog file");
}

TEST_F(HogTest, LooseNameDifferingOnlyInCaseIsFound) {
    dir.write("Demo.HOG", build_hog(files_of_sizes({4})));
    std::strcpy(hog.hog_path, dir.path("demo.hog").c_str());
    load_hog();
    EXPECT_EQ(hog.num_oof, 1u);
}

TEST_F(HogTest, WrongMagicIsABadHogFile) {
    auto bytes = build_hog(files_of_sizes({4}));
    bytes[3] = '3';
    EXPECT_EQ(load_status(bytes), -2);
    EXPECT_EQ(last_caption(), "ERROR");
    EXPECT_EQ(last_text(), "Bad hog file");
}

TEST_F(HogTest, EveryTruncatedHeaderOrDirectoryIsABadHogFile) {
    auto bytes = build_hog(files_of_sizes({3, 5}));
    size_t directory_end = 68 + 2 * 48;
    for (size_t n = 0; n < directory_end; ++n) {
        SCOPED_TRACE(n);
        reset_globals();
        sink.boxes.clear();
        EXPECT_EQ(load_status({bytes.begin(), bytes.begin() + n}), -2);
        EXPECT_EQ(last_text(), "Bad hog file");
    }
}

TEST_F(HogTest, AbsurdCountWithShortDirectoryIsABadHogFile) {
    auto bytes = build_hog(files_of_sizes({1, 1}));
    bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0xFF;
    EXPECT_EQ(load_status(bytes), -2);
    EXPECT_EQ(last_text(), "Bad hog file");
}

} // namespace
