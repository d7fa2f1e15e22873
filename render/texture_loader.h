// Finds, decodes and uploads the textures the model's polygons use, one display list each.
#pragma once

// Deletes the previous lists, then loads every referenced texture slot.
void load_textures();

// Deletes every loaded texture list and clears the slots' load state.
void release_textures();
