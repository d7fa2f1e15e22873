// average_vertex_normals: per-corner sums in double precision, one division per vertex.
#include "formats/vertex_normals.h"

#include <algorithm>

#include "state/counts.h"
#include "state/polymodel.h"
#include "state/prefault.h"
#include "state/vector_math.h"

namespace {

struct NormalSum {
    double x = 0, y = 0, z = 0;
    uint32_t corners = 0;
};

NormalSum sums[MAX_VECT];

} // namespace

void average_vertex_normals() {
    uint32_t num_vertices = clamp_count(model.num_vertices, MAX_VECT);
    prefault_for_writing(sums, num_vertices);
    prefault_for_writing(model.vertex_normals, num_vertices);
    std::fill_n(sums, num_vertices, NormalSum{});
    for (uint32_t p = 0; p < clamp_count(model.num_polygons, MAX_POLY); ++p) {
        const Polygon& polygon = model.polygons[p];
        for (uint32_t k = 0; k < clamp_count(polygon.num_points, MAX_POLY_POINTS); ++k) {
            NormalSum& sum = sums[polygon.points[k]];
            sum.x += polygon.normal.x;
            sum.y += polygon.normal.y;
            sum.z += polygon.normal.z;
            ++sum.corners;
        }
    }
    for (uint32_t v = 0; v < num_vertices; ++v) {
        const NormalSum& sum = sums[v];
        Vec3 normal{};
        if (sum.corners > 0) {
            normal = {float(sum.x / sum.corners), float(sum.y / sum.corners),
                      float(sum.z / sum.corners)};
            vec_normalize_in_place(normal);
        }
        model.vertex_normals[v] = normal;
    }
}
