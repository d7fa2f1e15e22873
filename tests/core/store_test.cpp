// clear_model resets exactly the counts, names, keys and selections it owns, and the view
// state starts at its start values.
#include <cstring>

#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"

namespace {

class StoreTest : public CoreTest {};

// A model of 12 subobjects with names, keys, frames, points and texture list, as a load leaves it.
void fill_twelve_subobject_model() {
    model.num_subobjects = 12;
    model.num_vertices = 3;
    model.vertices[2] = {1, 2, 3};
    model.num_polygons = 1;
    model.polygons[0].num_points = 3;
    for (int s = 0; s < 12; ++s) {
        std::strcpy(model.sobj_name[s], "part");
        std::strcpy(model.sobj_props[s], "$rotate=5");
        model.sobj_parent[s] = s - 1;
        model.sobj_offset[s] = {float(s), 2.0f, 3.0f};
        model.sobj_num_verts[s] = 7;
        model.sobj_num_polys[s] = 8;
        model.sobj_facing[s] = model.sobj_rotate[s] = model.sobj_glow[s] = model.sobj_fov[s] = 1;
        model.rotate_time[s] = 5.0f;
        model.pos_first_key[s] = model.rot_first_key[s] = s;
        model.pos_num_keys[s] = model.rot_num_keys[s] = 1;
    }
    model.frame_used[10] = 1;
    model.used_frames[0] = 10;
    model.num_used_frames = 1;
    model.pos_key_frame[14999] = 10;
    model.rot_key_angle[3] = 91;
    model.rot_key_axis[3] = {0, 1, 0};
    model.pos_key_pos[5] = {1, 1, 1};
    model.num_gun_points = 2;
    model.gun_points.location[1] = {4, 5, 6};
    model.num_ground_points = model.num_attach_points = model.num_nath_points = 1;
    model.num_special_points = model.num_batteries = 1;
    model.batteries.num_guns[0] = 2;
    std::strcpy(model.pinf_text, "info");
    model.any_rotate = 1;
    model.model_radius = 42.0f;
    model.num_textures = 2;
    std::strcpy(model.textures[1].name, "rock");
    model.textures[1].referenced = 1;
    model.used_frames[100] = 77;
}

TEST_F(StoreTest, ClearModelAfterTwelveSubobjectsResetsOwnedFieldsAndKeepsTheRest) {
    fill_twelve_subobject_model();
    view.cur_sobj = 11;
    view.cur_texture = 1;
    view.cur_keyframe = 3;
    view.cur_point = view.cur_special = view.cur_battery = 2;
    view.cur_hog_oof = 5;
    view.spin_angle[7] = 45.0f;
    view.sobj_highlight[4] = view.texture_highlight[3] = 1;

    clear_model();

    EXPECT_EQ(model.num_vertices, 0u);
    EXPECT_EQ(model.num_polygons, 0u);
    EXPECT_EQ(model.num_subobjects, 0u);
    EXPECT_EQ(model.num_used_frames, 0u);
    EXPECT_EQ(model.num_gun_points + model.num_ground_points + model.num_attach_points +
                  model.num_nath_points + model.num_special_points + model.num_batteries,
              0u);
    EXPECT_STREQ(model.pinf_text, "");
    EXPECT_EQ(model.any_rotate, 0);
    for (int s = 0; s < MAX_SOBJ; ++s) {
        SCOPED_TRACE(s);
        EXPECT_STREQ(model.sobj_name[s], "");
        EXPECT_STREQ(model.sobj_props[s], "");
        EXPECT_EQ(model.sobj_num_verts[s] + model.sobj_num_polys[s], 0u);
        EXPECT_EQ(model.sobj_facing[s] | model.sobj_rotate[s] | model.sobj_glow[s] |
                      model.sobj_fov[s],
                  0);
        EXPECT_EQ(model.pos_first_key[s] + model.pos_num_keys[s] + model.rot_first_key[s] +
                      model.rot_num_keys[s],
                  0u);
    }
    EXPECT_EQ(model.frame_used[10], 0);
    EXPECT_EQ(model.used_frames[0], 0u);
    EXPECT_EQ(model.pos_key_frame[14999], 0u);
    EXPECT_EQ(model.rot_key_angle[3], 0u);
    EXPECT_EQ(model.rot_key_axis[3], (Vec3{0, 0, 0}));
    EXPECT_EQ(model.pos_key_pos[5], (Vec3{0, 0, 0}));

    // Left alone: texture list, vertex and polygon contents, parents, offsets, radius,
    // derived values other than the flags, point records, the frame list past entry 59.
    EXPECT_EQ(model.num_textures, 2u);
    EXPECT_STREQ(model.textures[1].name, "rock");
    EXPECT_EQ(model.textures[1].referenced, 1);
    EXPECT_EQ(model.vertices[2], (Vec3{1, 2, 3}));
    EXPECT_EQ(model.polygons[0].num_points, 3u);
    EXPECT_EQ(model.sobj_parent[5], 4);
    EXPECT_EQ(model.sobj_offset[11], (Vec3{11, 2, 3}));
    EXPECT_EQ(model.rotate_time[3], 5.0f);
    EXPECT_EQ(model.model_radius, 42.0f);
    EXPECT_EQ(model.gun_points.location[1], (Vec3{4, 5, 6}));
    EXPECT_EQ(model.batteries.num_guns[0], 2u);
    EXPECT_EQ(model.used_frames[100], 77u);

    EXPECT_EQ(view.cur_sobj + view.cur_texture + view.cur_keyframe + view.cur_point +
                  view.cur_special + view.cur_battery,
              0u);
    EXPECT_EQ(view.cur_hog_oof, 5u) << "the archive position is not the model's";
    EXPECT_EQ(view.spin_angle[7], 0.0f);
    EXPECT_EQ(view.sobj_highlight[4], 0);
    EXPECT_EQ(view.texture_highlight[3], 0);
}

TEST_F(StoreTest, ThreeSubobjectsAfterTwelveLeaveOldSlotsEmptyButKeepOffsetsAndParents) {
    fill_twelve_subobject_model();
    clear_model();
    model.num_subobjects = 3;
    for (int s = 3; s < MAX_SOBJ; ++s) {
        EXPECT_STREQ(model.sobj_name[s], "");
        EXPECT_EQ(model.pos_num_keys[s] + model.rot_num_keys[s], 0u);
    }
    EXPECT_EQ(model.sobj_parent[9], 8);
    EXPECT_EQ(model.sobj_offset[9].x, 9.0f);
}

TEST_F(StoreTest, HighlightCheckBoxesCarryOverToTheFirstSubobjectAndTexture) {
    view.highlight_sobj = 1;
    view.highlight_texture = 0;
    view.texture_highlight[0] = 1;
    clear_model();
    EXPECT_EQ(view.sobj_highlight[0], 1);
    EXPECT_EQ(view.texture_highlight[0], 0);
}

TEST_F(StoreTest, ViewStateStartsAtItsStartValues) {
    EXPECT_EQ(view.model_loaded, 0);
    EXPECT_EQ(view.zoom, 0.0f);
    EXPECT_EQ(view.rot_x, 30.01f);
    EXPECT_EQ(view.rot_y, 30.01f);
    EXPECT_EQ(view.fill_poly + view.size_to_poly + view.cull_face + view.show_textures +
                  view.smooth + view.flat_colors,
              6);
    EXPECT_EQ(view.bg_red + view.bg_green + view.bg_blue + view.rotate_on + view.facing_on +
                  view.positions_on + view.glow_on + view.highlight_sobj + view.highlight_texture +
                  view.show_location + view.show_all_points + view.zoom_locked +
                  view.view_settings_open + view.edit_window_open,
              0);
    EXPECT_EQ(sizeof(view.oof_path), 256u);
    EXPECT_EQ(sizeof(view.file_dialog_result), 256u);
}

} // namespace
