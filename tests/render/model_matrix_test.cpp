// Where subobjects end up: key selection, the view, the parent chain root first and $facing;
// and the palette ramps. Pure computation, no GL context needed.
#include <array>

#include "render/key_select.h"
#include "render/palette.h"
#include "render/sobj_transform.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/sample_shapes.h"
#include "tools/store_builder.h"

namespace {

class MatrixTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        view.rot_x = view.rot_y = 0;
    }
    static Mat4 matrix(int s) { return sobj_matrix(s, view_matrix(mat_identity())); }
    static void expect_placed(int s, Vec3 p, Vec3 want, float tolerance = 1e-4f) {
        expect_near(mat_transform_point(matrix(s), p), want, tolerance);
    }
};

TEST_F(MatrixTest, KeyAtTheFrameElseTheLatestEarlierOneInsideTheSubobjectsOwnKeys) {
    // Rotation keys or position keys, target, the key chosen (-1 none), and the frames. Frame 0
    // counts only when equal; so does the last rotation key.
    const std::array<int, 7> cases[] = {{0, 25, 3, 0, 5, 10, 20},  {0, 0, 0, 0, 5, 10, 20},
                                        {0, 3, -1, 0, 5, 10, 20},  {0, 7, 0, 5, 5, 9, -1},
                                        {0, 7, 2, 8, 3, 6, 6},     {0, 6, 2, 8, 3, 6, 6},
                                        {1, 12, 0, 5, 10, -1, -1}, {1, 12, -1, 10, -1, -1, -1}};
    for (auto [rotation, target, expected, f0, f1, f2, f3] : cases) {
        // Subobject 1's keys between neighbours at the target, which a scan outside its window
        // would find; -1 ends the frames.
        start_sample_model();
        for (int s : {0, 1, 2}) {
            add_subobject(-1, {});
            for (int frame : s == 1 ? std::vector{f0, f1, f2, f3} : std::vector{target})
                if (frame >= 0)
                    rotation ? add_rotation_key(s, frame, {}, 0) : add_position_key(s, frame, {});
        }
        uint32_t key = rotation ? select_rotation_key(1, target) : select_position_key(1, target);
        EXPECT_EQ(key == NO_KEY ? -1 : int(key) - 1, expected) << rotation << " " << target;
    }
}

TEST_F(MatrixTest, ViewAndChainApplyOffsetsAndKeysRootFirst) {
    int root = add_subobject(-1, {1, 0, 0});
    int leaf = add_subobject(add_subobject(root, {0, 2, 0}), {0, 0, 3});
    add_position_key(root, 10, {0, 0, 5});
    add_rotation_key(root, 10, {0, 0, 1}, 90);
    add_position_key(leaf, 4, {0, 7, 0});
    model.used_frames[0] = 4;
    model.used_frames[1] = 10;
    model.num_used_frames = 2;
    expect_placed(leaf, {1, 0, 0}, {-2, 2, 3}); // keys off: offsets only, X mirrored
    view.positions_on = 1;
    view.cur_keyframe = 1;
    // (1,0,0) + leaf key (0,7,0) + leaf (0,0,3) + middle (0,2,0) = (1,9,3); the root's 90 degrees
    // about Z gives (-9,1,3); its offset and key give (-8,1,8); the mirror gives (8,1,8).
    expect_placed(leaf, {1, 0, 0}, {8, 1, 8});
    view.cur_keyframe = 0; // the root has no key at frame 4, the leaf has its own
    expect_placed(leaf, {1, 0, 0}, {-2, 9, 3});
    // The view turns about X, then Y, mirrored first as seen from the vertex.
    view.positions_on = 0;
    view.rot_x = view.rot_y = 90;
    expect_placed(root, {0, 0, 0}, {0, -1, 0}); // the offset (1, 0, 0)
    expect_placed(root, {0, 1, 0}, {0, -1, 1});
}

TEST_F(MatrixTest, FacingUndoesTheViewRotationAndKeepsThePosition) {
    int face = add_subobject(add_subobject(-1, {4, 0, 0}), {0, 6, 0});
    view.rot_x = 30;
    view.rot_y = 40;
    model.sobj_facing[face] = 1;
    model.facing[face] = {90, {0, 0, 1}};
    Vec3 origin = mat_transform_point(matrix(face), {});
    view.facing_on = 1;
    // The position stays; only the mirror and the facing turn remain: X to Y, Y to X.
    Mat4 m = matrix(face);
    expect_near(mat_transform_point(m, {}), origin, 1e-4f);
    expect_near({m.m[0], m.m[1], m.m[2]}, {0, 1, 0}, 1e-4f);
    expect_near({m.m[4], m.m[5], m.m[6]}, {1, 0, 0}, 1e-4f);
}

TEST(Palette, RampsFollowTheChannelBitsAndShifts) {
    EXPECT_TRUE(make_palette({false, 24, {8, 16}, {8, 8}, {8, 0}}).empty()) << "true colour";
    EXPECT_EQ(make_palette({true, 4, {4, 0}, {0, 0}, {0, 0}})[5].green, 0) << "no green bits";
    // Red in bits 0-2; 6 x 255 / 7 truncated to 218.
    std::vector<PaletteEntry> p = make_palette({true, 8, {3, 0}, {3, 3}, {2, 6}});
    ASSERT_EQ(p.size(), 256u);
    for (auto [index, r, g, b] : {std::array{1, 36, 0, 0},
                                  {7, 255, 0, 0},
                                  {2 << 6, 0, 0, 170},
                                  {0x96, 218, 72, 170},
                                  {255, 255, 255, 255}})
        EXPECT_EQ((std::array{int(p[index].red), int(p[index].green), int(p[index].blue),
                              int(p[index].flags)}),
                  (std::array{r, g, b, 0}))
            << index;
}

} // namespace
