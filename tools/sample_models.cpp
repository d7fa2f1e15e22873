// Six sample polymodels that between them use every feature the viewer shows: hierarchies,
// "$rotate=", "$glow=", "$facing" and "$fov=" parts, every point kind, weapon batteries,
// position and rotation keys, textures of both pixel formats and an animated texture.
#include "tools/sample_models.h"

#include <cstdio>
#include <cstring>

#include "tools/sample_shapes.h"

namespace {

// A hull with two wings, a see-through cockpit, a glowing engine and two wing guns.
void fighter() {
    start_sample_model();
    uint32_t hull = add_sample_texture("hull");
    uint32_t glass = add_sample_texture("glass");
    int body = add_sample_subobject("body", -1, {0, 0, 0});
    add_sample_box(body, {0, 0, 0}, {3, 2, 10}, textured(hull));
    add_sample_polygon(body, {{-3, 2, 10}, {3, 2, 10}, {0, 0.5f, 16}}, {0, 1, 1}, textured(hull));
    add_sample_polygon(body, {{-3, -2, 10}, {3, -2, 10}, {0, 0.5f, 16}}, {0, -1, 1},
                       flat(90, 95, 110));
    add_sample_polygon(body, {{-3, 2, 10}, {-3, -2, 10}, {0, 0.5f, 16}}, {-1, 0, 1},
                       flat(120, 125, 140));
    add_sample_polygon(body, {{3, 2, 10}, {3, -2, 10}, {0, 0.5f, 16}}, {1, 0, 1},
                       flat(120, 125, 140));
    int left = add_sample_subobject("wing_left", body, {-3, 0, -2});
    add_sample_box(left, {-7, 0, 0}, {7, 0.4f, 4}, flat(180, 40, 40));
    int right = add_sample_subobject("wing_right", body, {3, 0, -2});
    add_sample_box(right, {7, 0, 0}, {7, 0.4f, 4}, flat(180, 40, 40));
    int cockpit = add_sample_subobject("cockpit", body, {0, 2, 3});
    add_sample_box(cockpit, {0, 1, 0}, {2, 1, 3}, textured(glass));
    int engine = add_sample_subobject("engine", body, {0, 0, -10}, "$glow=1,0.45,0.1,1");
    add_sample_prism(engine, {0, -1.5f, 0}, 1.6f, 3, 8, flat(255, 140, 40));
    add_gun_point(static_cast<uint32_t>(left), {-12, 0, 3}, {0, 0, 1});
    add_gun_point(static_cast<uint32_t>(right), {12, 0, 3}, {0, 0, 1});
    add_battery({0, 1}, {});
    add_ground_point(static_cast<uint32_t>(body), {0, -2, 6});
    add_ground_point(static_cast<uint32_t>(body), {-2.5f, -2, -6});
    add_ground_point(static_cast<uint32_t>(body), {2.5f, -2, -6});
    add_special_point("thruster", "$thrust", {0, 0, -13}, 2.0f);
    std::strcpy(model.pinf_text, "mass=40\nspeed=120");
}

// A deck-plated base with two turrets, each with a barrel; both turrets form one battery.
void gun_tower() {
    start_sample_model();
    uint32_t deck = add_sample_texture("deck");
    uint32_t hull = add_sample_texture("hull");
    int base = add_sample_subobject("base", -1, {0, 0, 0});
    add_sample_box(base, {0, 4, 0}, {8, 4, 8}, textured(deck));
    add_sample_prism(base, {0, 8, 0}, 5, 2, 8, textured(hull));
    for (int side : {-1, 1}) {
        const char* name = side < 0 ? "turret_left" : "turret_right";
        int turret = add_sample_subobject(name, base, {side * 4.0f, 10, 0}, "$fov=360.0,8.0,8.0");
        add_sample_box(turret, {0, 1.5f, 0}, {2.5f, 1.5f, 2.5f}, flat(70, 110, 70));
        int barrel = add_sample_subobject(side < 0 ? "barrel_left" : "barrel_right", turret,
                                          {0, 1.5f, 2.5f});
        add_sample_box(barrel, {0, 0, 3}, {0.5f, 0.5f, 3}, flat(50, 50, 55));
        add_gun_point(static_cast<uint32_t>(barrel), {0, 0, 6}, {0, 0, 1});
    }
    add_battery({0, 1}, {1, 3});
    for (int corner = 0; corner < 4; ++corner)
        add_ground_point(0, {corner % 2 ? 7.0f : -7.0f, 0, corner / 2 ? 7.0f : -7.0f});
    add_attach_point(0, {0, 0, 8}, {0, 0, 1});
    add_nath_point(0, {0, 0, 8}, {0, 1, 0});
}

// A mast carrying a dish that turns by its "$rotate=" property.
void radar() {
    start_sample_model();
    uint32_t hull = add_sample_texture("hull");
    int mast = add_sample_subobject("mast", -1, {0, 0, 0});
    add_sample_prism(mast, {0, 0, 0}, 1.2f, 14, 6, textured(hull));
    add_sample_box(mast, {0, 0.5f, 0}, {4, 0.5f, 4}, flat(90, 90, 100));
    int dish = add_sample_subobject("dish", mast, {0, 14, 0}, "$rotate=5");
    add_sample_box(dish, {0, 1, 0}, {7, 2.5f, 0.4f}, flat(220, 220, 230));
    add_sample_box(dish, {0, 1, 1}, {0.5f, 0.5f, 1.5f}, flat(200, 60, 60));
    // The spin turns about the axis of the part's last rotation key.
    add_rotation_key(dish, 0, {0, 1, 0}, 0);
    add_ground_point(0, {0, 0, 0});
}

// A pole with a glowing lamp and a flare that always faces the viewer.
void beacon() {
    start_sample_model();
    uint32_t deck = add_sample_texture("deck");
    uint32_t flare = add_sample_texture("flare");
    int pole = add_sample_subobject("pole", -1, {0, 0, 0});
    add_sample_box(pole, {0, 1, 0}, {3, 1, 3}, textured(deck));
    add_sample_prism(pole, {0, 2, 0}, 0.6f, 12, 6, flat(160, 160, 170));
    int lamp = add_sample_subobject("lamp", pole, {0, 14, 0}, "$glow=.2,.2,1,1");
    add_sample_box(lamp, {0, 0, 0}, {1.2f, 1.2f, 1.2f}, flat(80, 80, 255));
    int glow = add_sample_subobject("flare", lamp, {0, 0, 0}, "$facing");
    // A "$facing" part holds a single polygon, turned toward the viewer with its +Z side.
    add_sample_polygon(glow, {{-4, -4, 0}, {4, -4, 0}, {4, 4, 0}, {-4, 4, 0}}, {0, 0, 1},
                       textured(flare));
    add_special_point("light", "$light", {0, 14, 0}, 4.0f);
    add_attach_point(0, {0, 0, 0}, {0, -1, 0});
}

// A hub with four arms, a module on each arm, a sliding door and a turning antenna, and
// screens with an animated texture; the door and antenna move by keyframes.
void station() {
    start_sample_model();
    uint32_t hull = add_sample_texture("hull");
    uint32_t screen = add_sample_texture("screen");
    int hub = add_sample_subobject("hub", -1, {0, 0, 0});
    add_sample_prism(hub, {0, -4, 0}, 6, 8, 8, textured(hull));
    const Vec3 arms[4] = {{12, 0, 0}, {-12, 0, 0}, {0, 0, 12}, {0, 0, -12}};
    for (int i = 0; i < 4; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "arm%d", i + 1);
        int arm = add_sample_subobject(name, hub, {0, 0, 0});
        Vec3 a = arms[i];
        add_sample_box(arm, {a.x / 2, 0, a.z / 2},
                       {a.x != 0 ? 6.0f : 0.8f, 0.8f, a.z != 0 ? 6.0f : 0.8f}, flat(150, 150, 160));
        std::snprintf(name, sizeof name, "module%d", i + 1);
        int module = add_sample_subobject(name, arm, a);
        add_sample_box(module, {0, 0, 0}, {2.5f, 2.5f, 2.5f}, flat(200, 180, 90));
        add_sample_panel(module, {0, 0, 2.6f}, 1.8f, {0, 0, 1}, textured(screen));
        add_nath_point(static_cast<uint32_t>(module), {0, 2.5f, 0}, {0, 1, 0});
    }
    int door = add_sample_subobject("door", hub, {0, 0, 6.2f});
    add_sample_box(door, {0, 0, 0}, {2, 3, 0.3f}, flat(60, 130, 200));
    const uint32_t frames[] = {0, 10, 20, 30};
    const float slide[] = {0, 3, 3, 0};
    for (int k = 0; k < 4; ++k)
        add_position_key(door, frames[k], {slide[k], 0, 0});
    int antenna = add_sample_subobject("antenna", hub, {0, 4, 0});
    add_sample_prism(antenna, {0, 0, 0}, 0.3f, 8, 4, flat(230, 230, 230));
    add_sample_box(antenna, {0, 8, 1.5f}, {0.2f, 0.2f, 1.5f}, flat(230, 60, 60));
    for (int k = 0; k < 4; ++k)
        add_rotation_key(antenna, frames[k], {0, 1, 0}, 90.0f * k);
    add_special_point("dock", "$dock", {0, 0, 9}, 3.0f);
    add_attach_point(0, {0, -4, 0}, {0, -1, 0});
}

// A plain wooden crate to stack: ground and attach points and a special point.
void crate() {
    start_sample_model();
    uint32_t wood = add_sample_texture("crate");
    int box = add_sample_subobject("crate", -1, {0, 0, 0});
    add_sample_box(box, {0, 3, 0}, {3, 3, 3}, textured(wood));
    for (int corner = 0; corner < 4; ++corner)
        add_ground_point(0, {corner % 2 ? 2.5f : -2.5f, 0, corner / 2 ? 2.5f : -2.5f});
    add_attach_point(0, {0, 6, 0}, {0, 1, 0});
    add_special_point("label", "$text=FRAGILE", {0, 3, 3.1f}, 1.0f);
}

} // namespace

const std::vector<SampleModel>& sample_models() {
    static const std::vector<SampleModel> models = {
        {"fighter.oof", fighter}, {"gun_tower.oof", gun_tower}, {"radar.oof", radar},
        {"beacon.oof", beacon},   {"station.oof", station},     {"crate.oof", crate},
    };
    return models;
}
