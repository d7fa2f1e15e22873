// ByteCursor reads little-endian fields and yields zeros past the end; ByteWriter mirrors it;
// path parts and case rules.
#include "state/byte_cursor.h"
#include "state/byte_writer.h"
#include "state/file_io.h"
#include "tests/support/test_globals.h"

namespace {

TEST(ByteIo, WriterAndCursorAgreeOnEveryFieldKind) {
    ByteWriter out;
    out.u8(0xAB);
    out.u16(0x1234);
    out.i16(-2);
    out.u32(0xDEADBEEF);
    out.i32(-7);
    out.f32(1.5f);
    out.vec3({1, -2, 3});
    out.text("ab");
    out.zeros(2);
    EXPECT_EQ(out.data()[1], 0x34) << "little-endian";
    ByteCursor in(out.data());
    EXPECT_EQ(in.u8(), 0xAB);
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.i16(), -2);
    EXPECT_EQ(in.u32(), 0xDEADBEEFu);
    EXPECT_EQ(in.i32(), -7);
    EXPECT_EQ(in.f32(), 1.5f);
    EXPECT_EQ(in.vec3(), (Vec3{1, -2, 3}));
    EXPECT_EQ(in.u32(), 0x6261u);
    EXPECT_EQ(in.tell(), in.size());
}

// Past its first room of 4096 bytes and past a reservation the image keeps every byte; a
// length patched in later lands in place; take() hands over the image and starts a new one.
TEST(ByteIo, WriterGrowsPatchesAndHandsOver) {
    for (size_t reserved : {0, 10, 100000}) {
        ByteWriter out;
        out.reserve(reserved);
        out.u32(0);
        for (uint32_t i = 0; i < 3000; ++i)
            out.u32(i);
        out.patch_u32(0, 0xA1B2C3D4);
        EXPECT_THROW(out.patch_u32(out.size() - 3, 0), std::out_of_range);
        std::vector<uint8_t> image = out.take();
        ASSERT_EQ(image.size(), 12004u);
        ByteCursor in(image);
        EXPECT_EQ(in.u32(), 0xA1B2C3D4u);
        for (uint32_t i = 0; i < 3000; ++i)
            ASSERT_EQ(in.u32(), i);
        EXPECT_EQ(out.size(), 0u);
        out.u8(9);
        EXPECT_EQ(out.take(), std::vector<uint8_t>{9});
    }
}

TEST(ByteIo, ReadsPastTheEndGiveZerosAndMarkTheOverrun) {
    std::vector<uint8_t> bytes{1, 2, 'a', 'b', 'c', 'd'};
    ByteCursor in(bytes);
    char text[4];
    in.skip(2);
    in.string_field(text, 3);
    EXPECT_STREQ(text, "abc") << "always terminated";
    in.seek(4);
    EXPECT_EQ(in.u32(), 0x6463u) << "missing high bytes read as zero";
    EXPECT_EQ(in.tell(), 8u);
    EXPECT_EQ(in.u32(), 0u);
    in.skip(SIZE_MAX);
    EXPECT_EQ(in.u8(), 0);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteIo, PathPartsAndCaseRules) {
    EXPECT_EQ(last_path_part("maps\\brick.bmp"), "brick.bmp");
    EXPECT_EQ(last_path_part("a/b\\c.ogf"), "c.ogf");
    EXPECT_EQ(last_path_part("plain"), "plain");
    EXPECT_TRUE(equal_ignoring_case(".OoF", ".oof"));
    EXPECT_FALSE(equal_ignoring_case(".oof", ".oo"));
    EXPECT_FALSE(equal_ignoring_case("[", "{")) << "only letters fold";
    char small[4];
    copy_bounded(small, sizeof small, "abcdef");
    EXPECT_STREQ(small, "abc");
}

} // namespace
