// prefault_for_writing: maps the pages of a table's part that a reader is about to fill;
// prefer_large_pages: maps a table's whole 2 MiB blocks as large pages.
#pragma once

#include <cstddef>

// The model tables are large fixed arrays that a load fills front to back. Touching a fresh
// page costs a trap; asking for the whole used part at once costs a fraction of that, which
// is most of a short command-line run. Best effort: without kernel support the pages fault
// in as before.
void prefault_for_writing(const void* begin, size_t bytes);

template <typename T> void prefault_for_writing(const T* first, size_t count) {
    prefault_for_writing(static_cast<const void*>(first), count * sizeof(T));
}

// The large fixed tables are aligned to this, so that their first blocks are whole.
constexpr size_t LARGE_PAGE_BYTES = size_t(2) << 20;

// A small page costs a trap at its first touch, on a virtual machine several microseconds; one
// large page covers 512 of them for the price of clearing it. Asks for large pages over the
// whole aligned blocks inside the table. Call before the table is first touched: a block that
// already has small pages keeps them. Best effort, like prefault_for_writing.
void prefer_large_pages(const void* table, size_t bytes);
