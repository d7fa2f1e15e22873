// Smooth vertex normals for the importers, whose files carry none.
#pragma once

// Sets each vertex normal to the normalised mean of the normals of the polygon corners that use
// the vertex, one term per corner; a vertex no corner uses gets a zero normal. Every corner
// must name a vertex below num_vertices, as both importers check.
void average_vertex_normals();
