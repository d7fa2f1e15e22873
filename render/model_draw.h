// Drawing the model: batches and one display list per subobject, then each frame.
#pragma once

// Sets the clear colour and, while a model is loaded, rebuilds batches and display lists.
void rebuild_model_lists();

// Compiles subobject sobj's batches into its display list, replacing the old one.
void build_sobj_list(int sobj);

// Clears and draws the whole frame (model and point markers) with the current view state.
void draw_frame();
