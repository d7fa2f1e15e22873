// The state helpers: byte reading and writing, path and case rules, vector maths, clear_model.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "state/byte_cursor.h"
#include "state/byte_writer.h"
#include "state/file_io.h"
#include "state/paths.h"
#include "state/polymodel.h"
#include "state/vector_math.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

TEST(ByteIo, WriterAndCursorAgreeLittleEndianAndReadZerosPastTheEnd) {
    ByteWriter out;
    out.u8(0xAB);
    out.u16(0x1234);
    out.i16(-2);
    out.i32(-7);
    out.f32(1.5f);
    out.vec3({1, -2, 3});
    out.text("abc");
    EXPECT_EQ(out.data()[1], 0x34);
    ByteCursor in(out.data());
    EXPECT_EQ((std::vector<int64_t>{in.u8(), in.u16(), in.i16(), in.i32()}),
              (std::vector<int64_t>{0xAB, 0x1234, -2, -7}));
    EXPECT_EQ(in.f32(), 1.5f);
    EXPECT_EQ(in.vec3(), (Vec3{1, -2, 3}));
    char text[3];
    in.string_field(text, 2);
    EXPECT_STREQ(text, "ab") << "always terminated";
    EXPECT_EQ(in.u32(), uint32_t('c')) << "missing high bytes read as zero";
    EXPECT_EQ(in.tell(), in.size() + 3);
    in.skip(SIZE_MAX);
    EXPECT_EQ(in.u8() + in.remaining(), 0u);
}

// Past its first room of 4096 bytes and past a reservation the image keeps every byte; a
// patched length lands in place; take() hands over the image and starts a new one.
TEST(ByteIo, WriterGrowsPatchesAndHandsOver) {
    for (size_t reserved : {0, 100000}) {
        ByteWriter out;
        out.reserve(reserved);
        for (uint32_t i = 0; i < 3001; ++i)
            out.u32(i);
        out.patch_u32(0, 0xA1B2C3D4);
        EXPECT_THROW(out.patch_u32(out.size() - 3, 0), std::out_of_range);
        std::vector<uint8_t> image = out.take();
        ByteCursor in(image);
        EXPECT_EQ(in.u32(), 0xA1B2C3D4u);
        for (uint32_t i = 1; i < 3001; ++i)
            ASSERT_EQ(in.u32(), i);
        EXPECT_EQ(in.remaining() + out.size(), 0u);
        out.u8(9);
        EXPECT_EQ(out.take(), std::vector<uint8_t>{9});
    }
}

// Folders and case are checked through the readers and the search; these are the edges.
TEST(ByteIo, OnlyLettersFoldAndCopiesAreCutToTheBuffer) {
    const std::string_view oo(".oof", 3); // followed in memory by the 'f' it lacks
    EXPECT_FALSE(equal_ignoring_case("[", "{") || equal_ignoring_case(oo, ".oof") ||
                 equal_ignoring_case(".oof", oo));
    char small[4];
    copy_bounded(small, sizeof small, "abcdef");
    EXPECT_STREQ(small, "abc");
}

// The path pieces the command-line program and the file writers build names with.
TEST(Paths, PiecesFollowTheFileSystemLibrarysRules) {
    EXPECT_EQ(folder_part("a//b"), "a");
    EXPECT_EQ(folder_part("/a"), "/");
    EXPECT_EQ(folder_part("a"), "");
    EXPECT_EQ(join_path("a/", "b") + join_path("", "c") + join_path("d", "e"), "a/bcd/e");
    EXPECT_EQ(extension_part("x.y/ship.oof"), ".oof");
    EXPECT_EQ(std::string(extension_part("x.y/.meshlook")) + std::string(extension_part("..")), "");
    EXPECT_EQ(stem_part("x.y/ship.tar.oof"), "ship.tar");
}

// Opposite vectors are 180.00006 degrees apart (the degree factor is held as a float); a zero
// vector has no angle, axis or unit vector; the z term of a cross product, which the facing axes
// never need, is a triangle's normal. The rest shows through the readers' normals and the facing
// angles and axes of the properties.
TEST(VectorMath, DegreeFactorZeroVectorsAndCrossProduct) {
    const Vec3 zero{0, 0, 0}, z{0, 0, 1};
    Vec3 no_plane;
    triangle_normal(z, z, z, no_plane);
    EXPECT_EQ(
        (std::vector{vec_cross_unit(zero, z), no_plane, vec_cross_unit({1, 1, 0}, {-1, 1, 0})}),
        (std::vector{zero, zero, z}));
    EXPECT_EQ(vec_angle_deg({0, 0, -1}, z), 180.00006f);
    EXPECT_TRUE(std::isnan(vec_angle_deg(zero, z)));
}

template <class... T> bool bytes_are(uint8_t value, const T&... fields) {
    auto all = [value](const auto& field) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(&field);
        return std::all_of(bytes, bytes + sizeof field, [value](uint8_t b) { return b == value; });
    };
    return (all(fields) && ...);
}

// Every byte of the store starts as OLD, so whatever clear_model touches shows.
TEST(Store, ClearModelResetsWhatItOwnsAndKeepsTheRest) {
    constexpr uint8_t OLD = 0x5A;
    reset_globals();
    std::memset(&model, OLD, sizeof model);
    view.cur_sobj = view.cur_texture = view.cur_keyframe = view.cur_point = 3;
    view.cur_special = view.cur_battery = view.cur_hog_oof = 3;
    view.spin_angle[7] = 45.0f;
    view.sobj_highlight[4] = view.texture_highlight[3] = view.texture_highlight[0] = 1;
    view.highlight_sobj = 1; // the check boxes carry over to the first subobject and texture
    clear_model();
    EXPECT_TRUE(bytes_are(0, model.num_vertices, model.num_polygons, model.num_subobjects,
                          model.num_used_frames, model.num_gun_points, model.num_ground_points,
                          model.num_attach_points, model.num_nath_points, model.num_special_points,
                          model.num_batteries, model.any_rotate, model.sobj_num_verts,
                          model.sobj_num_polys, model.sobj_facing, model.sobj_rotate,
                          model.sobj_glow, model.sobj_fov, model.pos_first_key, model.pos_num_keys,
                          model.rot_first_key, model.rot_num_keys, model.frame_used,
                          model.pos_key_frame, model.pos_key_pos, model.rot_key_frame,
                          model.rot_key_axis, model.rot_key_angle, model.pinf_text[0]));
    for (int s = 0; s < MAX_SOBJ; ++s)
        EXPECT_EQ(model.sobj_name[s][0] + model.sobj_props[s][0] + model.used_frames[s], 0u);
    // Only the start of the frame list is cleared; num_used_frames bounds what is read.
    EXPECT_TRUE(bytes_are(OLD, model.used_frames[MAX_SOBJ], model.num_textures, model.textures,
                          model.vertices, model.polygons, model.vertex_sobj, model.sobj_parent,
                          model.sobj_offset, model.rotate_time, model.model_radius,
                          model.gun_points, model.batteries));
    EXPECT_EQ(view.cur_sobj + view.cur_texture + view.cur_keyframe + view.cur_point +
                  view.cur_special + view.cur_battery,
              0u);
    EXPECT_EQ(view.spin_angle[7], 0.0f);
    EXPECT_EQ(view.cur_hog_oof, 3u) << "the archive position is not the model's";
    EXPECT_EQ(view.sobj_highlight[0] * 10 + view.sobj_highlight[4] + view.texture_highlight[0] +
                  view.texture_highlight[3],
              10);
}

} // namespace
