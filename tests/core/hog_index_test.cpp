// load_hog: offsets, extension lists, the entry limit, and every refusal with text and status.
#include "archive/hog_index.h"
#include "state/file_io.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class HogTest : public CoreTest {};

TEST_F(HogTest, OffsetsRunFromTheDataOffsetAndEntriesAreListedByLastExtension) {
    std::string name36 = std::string(32, 'n') + ".oof"; // stored without terminator
    load_hog_bytes(build_hog({{"SHIP.OOF", Bytes(100)},
                              {"ship.oof.bak", {}},
                              {"readme", Bytes(50)},
                              {"rock.Ogf", {}},
                              {"fire.oaf", {}},
                              {name36, {}},
                              {"a.oof", {}}},
                             212));
    ASSERT_EQ(hog.num_entries, 7u);
    EXPECT_EQ((std::vector<uint64_t>{hog.entries[1].offset, hog.entries[2].offset,
                                     hog.entries[3].offset, hog.entries[2].length}),
              (std::vector<uint64_t>{312, 312, 362, 50}));
    EXPECT_EQ(std::string(hog.entries[5].name), name36);
    EXPECT_EQ((std::vector{std::vector(hog.oof_entries, hog.oof_entries + hog.num_oof),
                           std::vector(hog.ogf_entries, hog.ogf_entries + hog.num_ogf),
                           std::vector(hog.oaf_entries, hog.oaf_entries + hog.num_oaf)}),
              (std::vector<std::vector<uint32_t>>{{0, 5, 6}, {3}, {4}}));
    EXPECT_TRUE(sink.boxes.empty());

    // Lengths of 3 GB each: the offsets do not wrap, and nothing reads the data.
    const HogFile three_gb{"a", {}, 3000000000u};
    Bytes three = build_hog({three_gb, three_gb, three_gb});
    load_hog_bytes(three);
    EXPECT_EQ(hog.entries[2].offset, three.size() + 6000000000ull);
    load_hog_bytes(build_hog({}));
    EXPECT_EQ(hog.num_entries + hog.num_oof + hog.num_ogf + hog.num_oaf, 0u);
}

// From a file, only the directory the header announces is read, up to the limit.
TEST_F(HogTest, TheEntryLimitLoadsAndOnePastItEndsWithStatusZeroAfterReadingIt) {
    std::vector<HogFile> files(4500, HogFile{"x.ogf", {}});
    load_hog_bytes(build_hog(files));
    EXPECT_EQ(hog.num_ogf, 4500u);
    files[4499].name = "last.oof";
    files.push_back(files[0]);
    copy_bounded(hog.hog_path, PATH_LEN, dir.write("big.hog", build_hog(files)));
    expect_stop([] { load_hog(); }, "hog files > 4500", 0);
    EXPECT_STREQ(hog.entries[4499].name, "last.oof");
}

TEST_F(HogTest, FoundIgnoringCaseAndWrongMagicCutDirectoriesAndAbsurdCountsRefused) {
    Bytes bytes = build_hog({{"f0.oof", Bytes(4)}, {"f1.oof", Bytes(6)}});
    dir.write("Demo.HOG", bytes);
    copy_bounded(hog.hog_path, PATH_LEN, dir.path("demo.hog"));
    load_hog();
    EXPECT_EQ(hog.entries[1].offset, 68u + 2 * 48 + 4) << "found ignoring case";
    dir.write("Demo.HOG", Bytes(bytes.begin(), bytes.begin() + 68 + 48 + 20));
    expect_stop([] { load_hog(); }, "Bad hog file", -2);

    Bytes magic = bytes, absurd = bytes;
    magic[3] = '3';
    std::fill_n(absurd.begin() + 4, 4, 0xFF);
    for (size_t n = 0; n < 68 + 2 * 48; ++n)
        expect_stop([&] { load_hog_bytes(std::span(bytes).first(n)); }, "Bad hog file", -2);
    for (const Bytes& bad : {magic, absurd})
        expect_stop([&] { load_hog_bytes(bad); }, "Bad hog file", -2);
}

} // namespace
