// The renderer's global tables.
#include "render/draw_tables.h"

#include "state/counts.h"
#include "state/prefault.h"

alignas(LARGE_PAGE_BYTES) DrawTables draw_tables;

void reset_draw_tables() {
    static const DrawTables fresh{};
    draw_tables = fresh;
}

int used_subobjects() {
    return int(clamp_count(model.num_subobjects, MAX_SOBJ));
}
