#include "render/memory_reuse.h"

#include <malloc.h>

void keep_freed_memory_for_reuse() {
    // 32 MiB is the largest mapping threshold the allocator takes; the heap's top is trimmed
    // only beyond 256 MiB.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}
