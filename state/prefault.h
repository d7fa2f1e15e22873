// prefault_for_writing: maps the pages of a table's part that a reader is about to fill.
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
