// clear_model resets exactly the counts, names, keys and selections it owns.
#include <algorithm>
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

class StoreTest : public CoreTest {};

constexpr uint8_t OLD = 0x5A;

template <class T> bool all_old(const T& field) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&field);
    return std::all_of(bytes, bytes + sizeof field, [](uint8_t b) { return b == OLD; });
}

template <class T> bool all_zero(const T& field) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&field);
    return std::all_of(bytes, bytes + sizeof field, [](uint8_t b) { return b == 0; });
}

// Every byte of the store starts as OLD, so whatever clear_model touches shows.
TEST_F(StoreTest, ClearModelResetsWhatItOwnsAndKeepsTheRest) {
    std::memset(&model, OLD, sizeof model);
    view.cur_sobj = 11;
    view.cur_texture = view.cur_keyframe = view.cur_point = view.cur_special = 3;
    view.cur_battery = 2;
    view.cur_hog_oof = 5;
    view.spin_angle[7] = 45.0f;
    view.sobj_highlight[4] = view.texture_highlight[3] = 1;

    clear_model();

    for (uint32_t count :
         {model.num_vertices, model.num_polygons, model.num_subobjects, model.num_used_frames,
          model.num_gun_points, model.num_ground_points, model.num_attach_points,
          model.num_nath_points, model.num_special_points, model.num_batteries})
        EXPECT_EQ(count, 0u);
    EXPECT_STREQ(model.pinf_text, "");
    EXPECT_EQ(model.any_rotate, 0);
    for (int s = 0; s < MAX_SOBJ; ++s) {
        EXPECT_STREQ(model.sobj_name[s], "") << s;
        EXPECT_STREQ(model.sobj_props[s], "") << s;
    }
    EXPECT_TRUE(all_zero(model.sobj_num_verts) && all_zero(model.sobj_num_polys));
    EXPECT_TRUE(all_zero(model.sobj_facing) && all_zero(model.sobj_rotate) &&
                all_zero(model.sobj_glow) && all_zero(model.sobj_fov));
    EXPECT_TRUE(all_zero(model.pos_first_key) && all_zero(model.pos_num_keys) &&
                all_zero(model.rot_first_key) && all_zero(model.rot_num_keys));
    EXPECT_TRUE(all_zero(model.frame_used) && all_zero(model.pos_key_frame) &&
                all_zero(model.pos_key_pos) && all_zero(model.rot_key_frame) &&
                all_zero(model.rot_key_axis) && all_zero(model.rot_key_angle));
    // Only the start of the frame list is cleared; num_used_frames bounds what is read.
    EXPECT_EQ(model.used_frames[MAX_SOBJ - 1], 0u);
    EXPECT_TRUE(all_old(model.used_frames[MAX_SOBJ]));

    // Left alone: texture list, vertex and polygon contents, parents, offsets, radius, derived
    // values other than the flags, point records.
    EXPECT_TRUE(all_old(model.num_textures) && all_old(model.textures));
    EXPECT_TRUE(all_old(model.vertices) && all_old(model.polygons) && all_old(model.vertex_sobj));
    EXPECT_TRUE(all_old(model.sobj_parent) && all_old(model.sobj_offset));
    EXPECT_TRUE(all_old(model.rotate_time) && all_old(model.model_radius));
    EXPECT_TRUE(all_old(model.gun_points) && all_old(model.batteries));

    EXPECT_EQ(view.cur_sobj + view.cur_texture + view.cur_keyframe + view.cur_point +
                  view.cur_special + view.cur_battery,
              0u);
    EXPECT_EQ(view.cur_hog_oof, 5u) << "the archive position is not the model's";
    EXPECT_EQ(view.spin_angle[7], 0.0f);
    EXPECT_EQ(view.sobj_highlight[4] + view.texture_highlight[3], 0);
}

TEST_F(StoreTest, HighlightCheckBoxesCarryOverToTheFirstSubobjectAndTexture) {
    view.highlight_sobj = 1;
    view.highlight_texture = 0;
    view.texture_highlight[0] = 1;
    clear_model();
    EXPECT_EQ(view.sobj_highlight[0], 1);
    EXPECT_EQ(view.texture_highlight[0], 0);
}

} // namespace
