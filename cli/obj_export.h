// The model in the store as a Wavefront .obj with its .mtl and textures, for other 3-D tools.
#pragma once

#include <string>

// Writes path (.obj), the .mtl of the same name and the texture PNGs beside it. Positions are
// in model space with X mirrored and corners reversed, so that other tools show the model as
// the viewer does with the usual counter-clockwise front faces. Throws CommandFailure when a
// file cannot be written.
void export_obj(const std::string& path, const std::string& source_label);
