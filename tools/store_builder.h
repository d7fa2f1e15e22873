// Fills the Polymodel store directly with subobjects and square polygons, for render tests and
// benchmarks that need a model without going through a file reader.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "state/polymodel.h"

// Appends a subobject with the given parent and offset; returns its index.
int add_subobject(int parent, Vec3 offset);

// Appends a vertex of subobject sobj with alpha 1; returns its index.
uint32_t add_vertex(int sobj, Vec3 position, Vec3 normal = {0, 0, 1});

// Appends a flat polygon of subobject sobj (colour 0) over the given store vertices, with
// corner k at u = (k + 1) / 8 and v = -(k + vertex) / 2, so that every coordinate differs.
Polygon& add_polygon(int sobj, std::initializer_list<uint32_t> corners, Vec3 normal = {0, 0, 1});

// Appends a flat-coloured square of side 2 x half in the plane z = centre.z of subobject sobj,
// wound so that its front faces +Z once the renderer mirrors X; its face and vertex normals are
// normal. Returns the polygon index.
uint32_t add_flat_square(int sobj, Vec3 centre, float half, Rgb8 colour, Vec3 normal = {0, 0, 1});

// The same square with texture slot slot (n_txtr 1), u and v running 0..1 from left to right
// and bottom to top as seen by the viewer.
uint32_t add_textured_square(int sobj, Vec3 centre, float half, uint32_t slot,
                             Vec3 normal = {0, 0, 1});

// Appends a texture-list entry with the given name, referenced; returns its slot.
uint32_t add_texture_slot(const char* name);

// Appends a root and a child subobject with squares of every kind over texture slots 0..4:
// flat, textured with coordinates beyond 0..1, textured from a new slot "missing", behind the
// others, and one of slots 1..4 each, 1 and 2 on the root; every vertex and polygon normal
// tilted a different way, so that a corner given the wrong one is lit differently.
void add_mixed_squares();

// Replaces the store's subobjects, textures, vertices and polygons with a model at every table
// limit: MAX_SOBJ subobjects in a chain of parents, MAX_TEXTURE texture slots, MAX_VECT
// vertices in small rings of MAX_POLY_POINTS, MAX_POLY polygons of corners (1..MAX_POLY_POINTS)
// corners spread round a ring, every other one textured.
void fill_maximal_model(int corners = MAX_POLY_POINTS);
