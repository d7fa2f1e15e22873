// convert_cob: turns the trueSpace import tables into the store (groups become subobjects).
#include <cstring>
#include <string_view>

#include "formats/cob_chunks.h"
#include "formats/cob_reader.h"
#include "formats/cob_scene.h"
#include "formats/vertex_normals.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/prefault.h"
#include "state/vector_math.h"

namespace {

constexpr int32_t UNUSED = -1;

int32_t new_index[COB_MAX_VERTICES]; // store index of each imported vertex, or UNUSED
Vec3 group_origin[COB_MAX_GROUPS];   // absolute origin of each subobject, store axes

// The store's axes from trueSpace's: x = -y, y = z, z = x.
Vec3 store_axes(Vec3 p) {
    return {-p.y, p.z, p.x};
}

Vec3 minus(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

uint32_t mark_used_vertices() {
    const CobScene& s = cob_scene;
    for (uint32_t i = 0; i < s.num_vertices; ++i)
        new_index[i] = UNUSED;
    for (uint32_t f = 0; f < s.num_faces; ++f)
        for (uint32_t k = 0; k < s.faces[f].num_points; ++k)
            new_index[s.faces[f].vertex[k]] = 0;
    uint32_t used = 0;
    for (uint32_t i = 0; i < s.num_vertices; ++i)
        if (new_index[i] != UNUSED)
            new_index[i] = int32_t(used++);
    return used;
}

void check_store_limits(uint32_t used_vertices) {
    if (used_vertices > MAX_VECT)
        refuse_cob("cob: vertices > MAX_VECT... ouch");
    if (cob_scene.num_faces > MAX_POLY)
        refuse_cob("cob: faces > MAX_POLY... ouch");
    if (cob_scene.num_texture_files > MAX_TEXTURE)
        refuse_cob("cob: textures > MAX_TEXTURE... ouch");
}

// Subobject 0 stays at the model origin. Each other group's origin is its centre; its offset
// is taken from its parent's origin, so groups nested deeper than one level land in place.
void convert_subobjects() {
    const CobScene& s = cob_scene;
    model.num_subobjects = s.num_groups;
    for (uint32_t g = 0; g < s.num_groups; ++g) {
        const CobGroup& group = s.groups[g];
        int32_t parent = group.parent;
        group_origin[g] = g == 0 ? Vec3{0, 0, 0} : store_axes(group.centre);
        Vec3 parent_origin = parent < 0 ? Vec3{0, 0, 0} : group_origin[parent];
        model.sobj_parent[g] = parent;
        model.sobj_offset[g] = minus(group_origin[g], parent_origin);
        copy_bounded(model.sobj_name[g], SOBJ_STRING_LEN, group.name);
        model.sobj_props[g][0] = '\0';
        model.sobj_num_verts[g] = 0;
        model.sobj_num_polys[g] = 0;
    }
}

void convert_vertices(uint32_t used_vertices) {
    const CobScene& s = cob_scene;
    model.num_vertices = used_vertices;
    for (uint32_t i = 0; i < s.num_vertices; ++i) {
        if (new_index[i] == UNUSED)
            continue;
        uint32_t k = uint32_t(new_index[i]);
        uint32_t group = s.vertices[i].group;
        model.vertices[k] = minus(store_axes(s.vertices[i].position), group_origin[group]);
        model.vertex_alpha[k] = 1.0f;
        model.vertex_sobj[k] = uint16_t(group);
    }
}

// Only the last part of a file name, without its extension, cut to the slot's 36 characters.
void convert_texture_names() {
    const CobScene& s = cob_scene;
    model.num_textures = s.num_texture_files;
    for (uint32_t k = 0; k < s.num_texture_files; ++k) {
        std::string_view name = last_path_part(s.texture_files[k]);
        size_t dot = name.find_last_of('.');
        if (dot != std::string_view::npos)
            name = name.substr(0, dot);
        copy_bounded(model.textures[k].name, TEXTURE_NAME_LEN + 1, name);
        model.textures[k].referenced = 0;
    }
}

void convert_texture_coordinates(const CobFace& face, Polygon& polygon) {
    const CobScene& s = cob_scene;
    CobMaterial none{};
    const CobMaterial& material =
        face.material_slot < s.num_materials ? s.materials[face.material_slot] : none;
    for (uint32_t k = 0; k < face.num_points; ++k) {
        float u = s.uvs[face.uv[k]].u;
        float v = s.uvs[face.uv[k]].v;
        if (material.u_repeat != 0.0f)
            u *= material.u_repeat;
        if (material.v_repeat != 0.0f)
            v *= material.v_repeat;
        polygon.u[k] = u - material.u_offset;
        polygon.v[k] = v - material.v_offset;
    }
}

void convert_polygon(const CobFace& face, Polygon& polygon) {
    polygon.num_points = face.num_points;
    polygon.sobj = face.group;
    polygon.texture = face.texture;
    polygon.color = {face.red, face.green, face.blue};
    polygon.n_txtr = face.textured;
    if (face.textured)
        model.textures[face.texture].referenced = 1;
    for (uint32_t k = 0; k < face.num_points; ++k)
        polygon.points[k] = uint32_t(new_index[face.vertex[k]]);
    convert_texture_coordinates(face, polygon);
    // A face of fewer than three points has no plane: its normal stays zero.
    polygon.normal = {0, 0, 0};
    if (face.num_points >= 3)
        triangle_normal(model.vertices[polygon.points[0]], model.vertices[polygon.points[1]],
                        model.vertices[polygon.points[2]], polygon.normal);
}

void convert_polygons() {
    model.num_polygons = cob_scene.num_faces;
    for (uint32_t f = 0; f < cob_scene.num_faces; ++f)
        convert_polygon(cob_scene.faces[f], model.polygons[f]);
}

} // namespace

void convert_cob() {
    uint32_t used_vertices = mark_used_vertices();
    check_store_limits(used_vertices);
    prefault_for_writing(model.vertices, used_vertices);
    prefault_for_writing(model.polygons, cob_scene.num_faces);
    convert_subobjects();
    convert_vertices(used_vertices);
    convert_texture_names();
    convert_polygons();
    average_vertex_normals();
}
