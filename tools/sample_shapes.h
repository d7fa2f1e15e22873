// Geometry helpers of the sample generator: subobjects, polygons facing a given way, boxes,
// prisms and keys, written straight into the store.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "state/polymodel.h"

struct SampleSurface {
    bool textured;
    uint32_t texture; // texture-list slot when textured
    Rgb8 colour;      // flat colour otherwise
};

SampleSurface flat(uint8_t red, uint8_t green, uint8_t blue);
SampleSurface textured(uint32_t slot);

// Empties the store for the next model.
void start_sample_model();

int add_sample_subobject(const char* name, int parent, Vec3 offset, const char* props = "");
uint32_t add_sample_texture(const char* name);

// A polygon whose front faces `outward`: the corners are reversed if they run the other way.
// Texture coordinates are the corners' coordinates across the face, one repeat per 8 units.
void add_sample_polygon(int sobj, std::initializer_list<Vec3> corners, Vec3 outward,
                        SampleSurface surface);

void add_sample_box(int sobj, Vec3 centre, Vec3 half, SampleSurface surface);

// An upright prism of `sides` faces around the Y axis through base, with caps.
void add_sample_prism(int sobj, Vec3 base, float radius, float height, int sides,
                      SampleSurface surface);

// A flat square seen from both sides, in the plane through centre across `normal` (x or z).
void add_sample_panel(int sobj, Vec3 centre, float half, Vec3 normal, SampleSurface surface);

void add_position_key(int sobj, uint32_t frame, Vec3 position);
void add_rotation_key(int sobj, uint32_t frame, Vec3 axis, float degrees);

void add_gun_point(uint32_t sobj, Vec3 location, Vec3 direction);
void add_ground_point(uint32_t sobj, Vec3 location);
void add_attach_point(uint32_t sobj, Vec3 location, Vec3 direction);
void add_nath_point(uint32_t sobj, Vec3 location, Vec3 direction);
void add_special_point(const char* name, const char* properties, Vec3 location, float radius);
void add_battery(std::initializer_list<uint32_t> guns, std::initializer_list<uint32_t> turrets);
