// Where subobjects end up: key selection, the parent chain root first, $facing, $rotate, and
// chains that are broken or cyclic. Pure matrix work, no GL context needed.
#include "render/key_select.h"
#include "render/sobj_transform.h"
#include "state/sobj_chain.h"
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
    // Kind, frames, target and the key chosen among the frames (-1 none). Frame 0 counts only
    // when equal; so does the last rotation key.
    for (auto [rotation, frames, target, expected] :
         {std::tuple{false, std::vector<uint32_t>{0, 5, 10, 20}, 12u, 2},
          {false, {0, 5, 10, 20}, 25u, 3},
          {false, {0, 5, 10, 20}, 0u, 0},
          {false, {0, 5, 10, 20}, 3u, -1},
          {false, {5, 5, 9}, 7u, 0},
          {false, {8, 3, 6, 6}, 7u, 2},
          {false, {8, 3, 6, 6}, 6u, 2},
          {true, {5, 10}, 10u, 1},
          {true, {5, 10}, 12u, 0},
          {true, {10}, 12u, -1}}) {
        // Subobject 1's keys between neighbours at the target, which a scan outside its window
        // would find.
        start_sample_model();
        for (int s : {0, 1, 2}) {
            add_subobject(-1, {});
            for (uint32_t frame : s == 1 ? frames : std::vector<uint32_t>{target})
                rotation ? add_rotation_key(s, frame, {}, 0) : add_position_key(s, frame, {});
        }
        uint32_t key = rotation ? select_rotation_key(1, target) : select_position_key(1, target);
        EXPECT_EQ(key == NO_KEY ? -1 : int(key) - 1, expected) << rotation << " " << target;
    }
    // Windows outside the tables select nothing outside.
    model.pos_first_key[0] = MAX_ANI - 1;
    model.pos_num_keys[0] = 5;
    model.pos_key_frame[MAX_ANI - 1] = 3;
    EXPECT_EQ(select_position_key(0, 4), uint32_t(MAX_ANI - 1));
    model.rot_first_key[0] = 0xFFFFFFF0u;
    model.rot_num_keys[0] = 100;
    EXPECT_EQ(select_rotation_key(0, 4), NO_KEY);
    EXPECT_EQ(last_rotation_key(0), NO_KEY);
    view.cur_keyframe = MAX_ANI;
    EXPECT_EQ(target_frame(), NO_KEY);
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
    // Angle words are unsigned over 182: 182 x (90 + 360 x 32776) is above 2^31, so read as
    // signed it would be about 88.6 degrees.
    model.rot_key_angle[0] = 2147499900u;
    model.used_frames[0] = 10;
    expect_placed(root, {1, 0, 0}, {-1, 1, 5}, 2e-3f);
    // The view turns about X, then Y, mirrored first as seen from the vertex.
    view.positions_on = 0;
    view.rot_x = view.rot_y = 90;
    expect_placed(root, {0, 0, 0}, {0, -1, 0}); // the offset (1, 0, 0)
    expect_placed(root, {0, 1, 0}, {0, -1, 1});
}

TEST_F(MatrixTest, FacingUndoesTheViewRotationAndRotateSpinsAboutTheLastKeysAxis) {
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

    view.rot_x = view.rot_y = 0;
    add_rotation_key(face, 1, {1, 0, 0}, 0);
    add_rotation_key(face, 2, {0, 0, 1}, 0);
    model.sobj_facing[face] = 0;
    model.sobj_rotate[face] = 1;
    view.spin_angle[face] = 90;
    expect_placed(face, {1, 0, 0}, {-5, 6, 0});
    view.rotate_on = 1;
    expect_placed(face, {1, 0, 0}, {-4, 7, 0});
    model.rot_num_keys[face] = 0; // no rotation keys: no axis and no spin
    expect_placed(face, {1, 0, 0}, {-5, 6, 0});
}

TEST_F(MatrixTest, BrokenAndCyclicParentChainsEnd) {
    // 0, 1, 2 in a cycle; 3 beyond the used slots, 4 negative but not -1, 5 its own parent.
    for (auto [parent, offset] : {std::pair<int, Vec3>{2, {1, 0, 0}},
                                  {0, {0, 1, 0}},
                                  {1, {0, 0, 1}},
                                  {9, {}},
                                  {-4, {}},
                                  {5, {0, 0, 5}}})
        add_subobject(parent, offset);
    int chain[MAX_SOBJ];
    ASSERT_EQ(parent_chain(0, chain), 3);
    EXPECT_EQ(std::vector<int>(chain, chain + 3), (std::vector<int>{1, 2, 0}));
    expect_placed(0, {0, 0, 0}, {-1, 1, 1});
    for (int s : {3, 4, 5})
        EXPECT_EQ(parent_chain(s, chain), 1) << s;
    expect_placed(5, {0, 0, 0}, {0, 0, 5});
}

} // namespace
