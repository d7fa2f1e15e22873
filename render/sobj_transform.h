// Where each subobject is drawn: the view rotation, then its parent chain with offsets and keys.
#pragma once

#include "render/mat4.h"
#include "state/polymodel.h"

// base x rotation rot_x about X x rotation rot_y about Y x mirror of X.
Mat4 view_matrix(const Mat4& base);

// Fills chain with the subobjects from the root down to sobj (sobj last); returns the length.
// A parent outside the used slots ends the chain there, and so does a parent already in it, so
// a broken or cyclic chain still ends.
int parent_chain(int sobj, int chain[MAX_SOBJ]);

// The modelview matrix subobject sobj is drawn with, given the view matrix.
Mat4 sobj_matrix(int sobj, const Mat4& view_mat);
