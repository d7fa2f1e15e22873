#include "state/prefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void prefault_for_writing(const void* begin, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    if (bytes == 0)
        return;
    uintptr_t first = uintptr_t(begin) & ~(page - 1);
    uintptr_t end = (uintptr_t(begin) + bytes + page - 1) & ~(page - 1);
    madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)bytes;
#endif
}

void prefer_large_pages(const void* table, size_t bytes) {
#ifdef MADV_HUGEPAGE
    uintptr_t first = (uintptr_t(table) + LARGE_PAGE_BYTES - 1) & ~(LARGE_PAGE_BYTES - 1);
    uintptr_t end = (uintptr_t(table) + bytes) & ~(LARGE_PAGE_BYTES - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)table;
    (void)bytes;
#endif
}
