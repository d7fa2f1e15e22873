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
    EXPECT_EQ(out.data()[1], 0x34) << "little-endian";
    ByteCursor in(out.data());
    EXPECT_EQ(in.u8(), 0xAB);
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.i16(), -2);
    EXPECT_EQ(in.u32(), 0xDEADBEEFu);
    EXPECT_EQ(in.i32(), -7);
    EXPECT_EQ(in.f32(), 1.5f);
    EXPECT_EQ(in.vec3(), (Vec3{1, -2, 3}));
    EXPECT_FALSE(in.overran());
}

TEST(ByteIo, ReadsPastTheEndGiveZerosAndMarkTheOverrun) {
    std::vector<uint8_t> bytes{1, 2};
    ByteCursor in(bytes);
    EXPECT_EQ(in.u32(), 0x0201u) << "missing high bytes read as zero";
    EXPECT_TRUE(in.overran());
    EXPECT_EQ(in.u32(), 0u);
    in.skip(SIZE_MAX);
    EXPECT_EQ(in.u8(), 0);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteIo, StringFieldIsAlwaysTerminated) {
    std::vector<uint8_t> bytes{'a', 'b', 'c', 'd'};
    ByteCursor in(bytes);
    char out[4];
    in.string_field(out, 3);
    EXPECT_STREQ(out, "abc");
}

TEST(ByteIo, PathPartsAndCaseRules) {
    EXPECT_EQ(last_path_part("maps\\brick.bmp"), "brick.bmp");
    EXPECT_EQ(last_path_part("a/b\\c.ogf"), "c.ogf");
    EXPECT_EQ(last_path_part("plain"), "plain");
    EXPECT_TRUE(equal_ignoring_case(".OoF", ".oof"));
    EXPECT_FALSE(equal_ignoring_case(".oof", ".oo"));
    char small[4];
    copy_bounded(small, sizeof small, "abcdef");
    EXPECT_STREQ(small, "abc");
}

} // namespace
