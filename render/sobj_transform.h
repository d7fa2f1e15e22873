// Where each subobject is drawn: the view rotation, then its parent chain with offsets and keys.
#pragma once

#include "render/mat4.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"

// base x rotation rot_x about X x rotation rot_y about Y x mirror of X.
Mat4 view_matrix(const Mat4& base);

// The modelview matrix subobject sobj is drawn with, given the view matrix.
Mat4 sobj_matrix(int sobj, const Mat4& view_mat);
