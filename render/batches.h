// Sorting the store's polygons into per-subobject draw batches.
#pragma once

// Fills the shared corner arrays, the batch table and each subobject's batch range from the
// store and the display switches. Uses no GL.
void build_batches();

// After a rebuild that left polygons out for lack of corner room, shows one "INFO" box; quiet
// again until a rebuild fits. Called once the display lists are compiled, so the box never
// interrupts GL work.
void report_corner_overflow();
