// Sorting the store's polygons into per-subobject draw batches.
#pragma once

// Fills the shared corner arrays, the batch table and each subobject's batch range from the
// store and the display switches. Uses no GL.
void build_batches();
