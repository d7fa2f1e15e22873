#include "render/memory_reuse.h"

#include <malloc.h>

#include "formats/cob_scene.h"
#include "render/draw_tables.h"
#include "state/polymodel.h"
#include "state/prefault.h"

void keep_freed_memory_for_reuse() {
    // 32 MiB is the largest mapping threshold the allocator takes; the heap's top is trimmed
    // only beyond 256 MiB.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

void prefer_large_pages_for_tables() {
    prefer_large_pages(&model, sizeof model);
    prefer_large_pages(&cob_scene, sizeof cob_scene);
    prefer_large_pages(&draw_tables, sizeof draw_tables);
}
