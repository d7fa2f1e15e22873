// Where subobjects end up: key selection, the parent chain root first, $facing, $rotate, and
// chains that are broken or cyclic. Pure matrix work, no GL context needed.
#include "render/key_select.h"
#include "render/sobj_transform.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

namespace {

class MatrixTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        view.rot_x = 0;
        view.rot_y = 0;
    }
    // Keys of one kind for subobject s, appended after those already stored.
    void position_keys(int s, std::initializer_list<uint32_t> frames, Vec3 pos = {0, 0, 0}) {
        model.pos_first_key[s] = next_pos_;
        model.pos_num_keys[s] = uint32_t(frames.size());
        for (uint32_t f : frames) {
            model.pos_key_frame[next_pos_] = f;
            model.pos_key_pos[next_pos_++] = pos;
        }
    }
    void rotation_keys(int s, std::initializer_list<uint32_t> frames, Vec3 axis = {0, 0, 1},
                       uint32_t angle_word = 0) {
        model.rot_first_key[s] = next_rot_;
        model.rot_num_keys[s] = uint32_t(frames.size());
        for (uint32_t f : frames) {
            model.rot_key_frame[next_rot_] = f;
            model.rot_key_axis[next_rot_] = axis;
            model.rot_key_angle[next_rot_++] = angle_word;
        }
    }
    // Frame of the key selected at target, or -1.
    int64_t pos_frame(int s, uint32_t target) {
        uint32_t k = select_position_key(s, target);
        return k == NO_KEY ? -1 : int64_t(model.pos_key_frame[k]);
    }
    int64_t rot_frame(int s, uint32_t target) {
        uint32_t k = select_rotation_key(s, target);
        return k == NO_KEY ? -1 : int64_t(model.rot_key_frame[k]);
    }
    Vec3 placed(int s, Vec3 p) {
        return mat_transform_point(sobj_matrix(s, view_matrix(mat_identity())), p);
    }

    uint32_t next_pos_ = 0;
    uint32_t next_rot_ = 0;
};

void expect_point(Vec3 actual, Vec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4);
    EXPECT_NEAR(actual.y, expected.y, 1e-4);
    EXPECT_NEAR(actual.z, expected.z, 1e-4);
}

TEST_F(MatrixTest, PositionKeysTakeTheExactFrameElseTheLatestEarlierAndEarliestOfEqual) {
    add_subobject(-1, {0, 0, 0});
    position_keys(0, {0, 5, 10, 20});
    EXPECT_EQ(pos_frame(0, 10), 10);
    EXPECT_EQ(pos_frame(0, 12), 10);
    EXPECT_EQ(pos_frame(0, 25), 20); // the last position key is an ordinary candidate
    EXPECT_EQ(pos_frame(0, 0), 0);   // frame 0 only through equality
    EXPECT_EQ(pos_frame(0, 3), -1);  // ...never as a candidate
    // Equal frames pick the earliest key.
    position_keys(0, {5, 5, 9});
    EXPECT_EQ(select_position_key(0, 7), 4u);
    EXPECT_EQ(select_position_key(0, 5), 4u);
    // Out of order: the best candidate wins, and the scan stops at an exact match.
    position_keys(0, {8, 3, 6, 6});
    EXPECT_EQ(select_position_key(0, 7), 9u);
    EXPECT_EQ(select_position_key(0, 6), 9u);
}

TEST_F(MatrixTest, LastRotationKeyCountsOnlyAtItsOwnFrame) {
    add_subobject(-1, {0, 0, 0});
    rotation_keys(0, {5, 10});
    EXPECT_EQ(rot_frame(0, 10), 10);
    EXPECT_EQ(rot_frame(0, 12), 5);
    EXPECT_EQ(rot_frame(0, 7), 5);
    rotation_keys(0, {10});
    EXPECT_EQ(rot_frame(0, 10), 10);
    EXPECT_EQ(rot_frame(0, 12), -1);
    EXPECT_EQ(rot_frame(0, 3), -1);
}

TEST_F(MatrixTest, ScanStaysInsideTheSubobjectsOwnKeys) {
    add_subobject(-1, {0, 0, 0});
    add_subobject(-1, {0, 0, 0});
    position_keys(0, {4});
    position_keys(1, {8});
    rotation_keys(0, {2, 6});
    rotation_keys(1, {12});
    EXPECT_EQ(pos_frame(0, 9), 4);
    EXPECT_EQ(pos_frame(1, 5), -1);
    EXPECT_EQ(rot_frame(0, 12), 2);
    EXPECT_EQ(rot_frame(1, 6), -1);
    // No keys of a kind: none selected.
    add_subobject(-1, {0, 0, 0});
    EXPECT_EQ(pos_frame(2, 8), -1);
    EXPECT_EQ(rot_frame(2, 12), -1);
}

TEST_F(MatrixTest, KeyWindowsOutsideTheTablesSelectNothingOutside) {
    add_subobject(-1, {0, 0, 0});
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

TEST_F(MatrixTest, ViewRotatesAboutXThenYAndMirrorsX) {
    add_subobject(-1, {0, 0, 0});
    expect_point(placed(0, {1, 2, 3}), {-1, 2, 3});
    view.rot_x = 90;
    // Mirror first, then Y, then X as seen from the vertex: (1,0,0) -> (-1,0,0).
    view.rot_y = 90;
    expect_point(placed(0, {1, 0, 0}), {0, -1, 0});
    expect_point(placed(0, {0, 1, 0}), {0, 0, 1});
}

TEST_F(MatrixTest, ThreeLevelChainAppliesOffsetsAndKeysRootFirst) {
    int root = add_subobject(-1, {1, 0, 0});
    int middle = add_subobject(root, {0, 2, 0});
    int leaf = add_subobject(middle, {0, 0, 3});
    position_keys(root, {10}, {0, 0, 5});
    rotation_keys(root, {10}, {0, 0, 1}, 90 * 182);
    position_keys(middle, {});
    rotation_keys(middle, {});
    position_keys(leaf, {4}, {0, 7, 0});
    rotation_keys(leaf, {});
    model.used_frames[0] = 4;
    model.used_frames[1] = 10;
    model.num_used_frames = 2;

    // Keys off: offsets only, summed.
    expect_point(placed(leaf, {1, 0, 0}), {-2, 2, 3});
    view.positions_on = 1;
    view.cur_keyframe = 1;
    // (1,0,0) + leaf key (0,7,0) + leaf (0,0,3) + middle (0,2,0) = (1,9,3); the root's 90 degrees
    // about Z gives (-9,1,3); its offset and key give (-8,1,8); the mirror gives (8,1,8).
    expect_point(placed(leaf, {1, 0, 0}), {8, 1, 8});
    expect_point(placed(root, {1, 0, 0}), {-1, 1, 5});
    // At frame 4 the root has no key (its only keys sit at 10), the leaf has its own.
    view.cur_keyframe = 0;
    expect_point(placed(leaf, {1, 0, 0}), {-2, 9, 3});
}

TEST_F(MatrixTest, RotationKeyAngleWordsAreUnsignedOver182) {
    add_subobject(-1, {0, 0, 0});
    // 182 x (90 + 360 x 32776): above 2^31, so read as signed it would be about 88.6 degrees.
    rotation_keys(0, {3, 9}, {0, 0, 1}, 2147499900u);
    model.used_frames[0] = 3;
    view.positions_on = 1;
    Vec3 p = placed(0, {1, 0, 0});
    EXPECT_NEAR(p.x, 0.0, 2e-3);
    EXPECT_NEAR(p.y, 1.0, 2e-3);
    rotation_keys(0, {3, 9}, {0, 0, 1}, 182 * 45);
    expect_point(placed(0, {1, 0, 0}), {-0.70710678f, 0.70710678f, 0});
}

TEST_F(MatrixTest, FacingUndoesTheViewRotationAndKeepsThePosition) {
    int root = add_subobject(-1, {4, 0, 0});
    int face = add_subobject(root, {0, 6, 0});
    view.rot_x = 30;
    view.rot_y = 40;
    model.sobj_facing[face] = 1;
    model.facing[face] = {90, {0, 0, 1}};
    Vec3 origin_without = placed(face, {0, 0, 0});
    view.facing_on = 1;
    Mat4 m = sobj_matrix(face, view_matrix(mat_identity()));
    expect_point(mat_transform_point(m, {0, 0, 0}), origin_without);
    // Only the mirror and the facing turn remain: (1,0,0) turns to (0,1,0).
    auto turned = [&](Vec3 v) {
        Vec3 d = mat_transform_point(m, v);
        return Vec3{d.x - m.m[12], d.y - m.m[13], d.z - m.m[14]};
    };
    expect_point(turned({1, 0, 0}), {0, 1, 0});
    expect_point(turned({0, 1, 0}), {1, 0, 0});
}

TEST_F(MatrixTest, RotateSpinsAboutTheLastRotationKeysAxis) {
    add_subobject(-1, {0, 0, 0});
    rotation_keys(0, {1, 2}, {1, 0, 0});
    model.rot_key_axis[1] = {0, 0, 1};
    model.sobj_rotate[0] = 1;
    view.spin_angle[0] = 90;
    expect_point(placed(0, {1, 0, 0}), {-1, 0, 0});
    view.rotate_on = 1;
    expect_point(placed(0, {1, 0, 0}), {0, 1, 0});
    // Without rotation keys there is no axis and no spin.
    model.rot_num_keys[0] = 0;
    expect_point(placed(0, {1, 0, 0}), {-1, 0, 0});
}

TEST_F(MatrixTest, BrokenAndCyclicParentChainsEnd) {
    add_subobject(2, {1, 0, 0});
    add_subobject(0, {0, 1, 0});
    add_subobject(1, {0, 0, 1});
    add_subobject(9, {5, 0, 0});  // beyond the used slots
    add_subobject(-4, {0, 5, 0}); // negative but not -1
    add_subobject(5, {0, 0, 5});  // its own parent
    int chain[MAX_SOBJ];
    ASSERT_EQ(parent_chain(0, chain), 3);
    EXPECT_EQ(chain[0], 1);
    EXPECT_EQ(chain[1], 2);
    EXPECT_EQ(chain[2], 0);
    expect_point(placed(0, {0, 0, 0}), {-1, 1, 1});
    EXPECT_EQ(parent_chain(3, chain), 1);
    EXPECT_EQ(parent_chain(4, chain), 1);
    EXPECT_EQ(parent_chain(5, chain), 1);
    expect_point(placed(5, {0, 0, 0}), {0, 0, 5});
}

} // namespace
