// The renderer's global tables.
#include "render/draw_tables.h"

DrawTables draw_tables;

void reset_draw_tables() {
    static const DrawTables fresh{};
    draw_tables = fresh;
}

int used_subobjects() {
    return model.num_subobjects < uint32_t(MAX_SOBJ) ? int(model.num_subobjects) : MAX_SOBJ;
}
