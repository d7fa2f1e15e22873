// Finds, decodes and uploads the textures the model's polygons use: one texture object and one
// display list that binds it per slot.
#pragma once

#include <cstdint>

#include "state/polymodel.h"

// The texture object each slot's list binds, written by the loader; meaningful while the slot
// is loaded.
extern uint32_t texture_objects[MAX_TEXTURE];

// Deletes the previous lists and texture objects, then loads every referenced texture slot.
void load_textures();

// Deletes every loaded texture's list and texture object and clears the slots' load state.
void release_textures();

// Makes the width x height image in texture_pixels the texture of slot: a new texture object
// holding it and a new list in gl_list that binds it. Sets loaded; false when GL gives no names.
bool upload_texture(uint32_t slot, int width, int height);
