// Writing the .obj and .mtl texts.
#include "cli/obj_export.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "cli/float_text.h"
#include "cli/model_summary.h"
#include "cli/output_file.h"
#include "cli/texture_export.h"
#include "state/paths.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"

namespace {

// What the viewer draws for textured polygons whose texture is missing.
constexpr char UNTEXTURED[] = "untextured";

std::string colour_material(Rgb8 c) {
    char name[32];
    std::snprintf(name, sizeof name, "colour_%02x%02x%02x", c.red, c.green, c.blue);
    return name;
}

std::string material_of(const Polygon& p, const std::vector<ExportedTexture>& textures) {
    if (p.n_txtr == 0)
        return colour_material(p.color);
    if (p.texture < textures.size() && textures[p.texture].written)
        return "texture_" + std::string(stem_part(textures[p.texture].png_name));
    return UNTEXTURED;
}

void line(std::string& out, const char* tag, Vec3 v) {
    out += tag;
    out += ' ' + float_text(v.x) + ' ' + float_text(v.y) + ' ' + float_text(v.z) + '\n';
}

std::string unit_text(uint8_t c) {
    return float_text(float(c) / 255.0f);
}

void colour_line(std::string& out, const char* tag, Rgb8 c) {
    out += std::string(tag) + ' ' + unit_text(c.red) + ' ' + unit_text(c.green) + ' ' +
           unit_text(c.blue) + '\n';
}

std::string mtl_text(const std::vector<ExportedTexture>& textures) {
    std::string out = "# Materials of the model, written by meshlook-cli\n";
    std::set<std::string> done;
    for (uint32_t p = 0; p < model.num_polygons; ++p) {
        const Polygon& polygon = model.polygons[p];
        std::string name = material_of(polygon, textures);
        if (!done.insert(name).second)
            continue;
        out += "\nnewmtl " + name + "\n";
        if (polygon.n_txtr == 0) {
            colour_line(out, "Kd", polygon.color);
        } else if (name == UNTEXTURED) {
            colour_line(out, "Kd", {192, 192, 192});
        } else {
            const ExportedTexture& t = textures[polygon.texture];
            out += "Kd 1 1 1\nmap_Kd " + t.png_name + "\n";
            if (t.has_alpha)
                out += "map_d " + t.png_name + "\n";
        }
    }
    return out;
}

void vertex_lines(std::string& out) {
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    for (uint32_t v = 0; v < model.num_vertices; ++v) {
        Vec3 p = model_space_position(origins, v);
        line(out, "v", {-p.x, p.y, p.z});
    }
    for (uint32_t v = 0; v < model.num_vertices; ++v) {
        Vec3 n = model.vertex_normals[v];
        line(out, "vn", {-n.x, n.y, n.z});
    }
}

// One face, corners reversed; texture coordinates for textured faces, v counted from the
// bottom of the image as .obj readers expect.
void face_lines(std::string& out, const Polygon& p, bool textured, uint32_t& next_uv) {
    if (p.num_points < 3)
        return;
    if (textured)
        for (uint32_t k = p.num_points; k-- > 0;)
            out += "vt " + float_text(p.u[k]) + ' ' + float_text(1.0f - p.v[k]) + '\n';
    out += 'f';
    for (uint32_t i = 0; i < p.num_points; ++i) {
        std::string v = std::to_string(p.points[p.num_points - 1 - i] + 1);
        out += ' ' + v + '/' + (textured ? std::to_string(next_uv + i) : "") + '/' + v;
    }
    out += '\n';
    if (textured)
        next_uv += p.num_points;
}

std::string obj_text(const std::string& mtl_name, const std::string& source_label,
                     const std::vector<ExportedTexture>& textures) {
    std::string out = "# " + source_label + ", written by meshlook-cli\nmtllib " + mtl_name + "\n";
    vertex_lines(out);
    uint32_t next_uv = 1;
    for (uint32_t s = 0; s < num_sobj(); ++s) {
        std::string name(model.sobj_name[s], strnlen(model.sobj_name[s], SOBJ_STRING_LEN));
        out += "o " + safe_file_name(name.empty() ? "sobj" + std::to_string(s) : name) + "\n";
        std::string current;
        for (uint32_t p = 0; p < model.num_polygons; ++p) {
            const Polygon& polygon = model.polygons[p];
            if (polygon.sobj != s)
                continue;
            std::string material = material_of(polygon, textures);
            if (material != current)
                out += "usemtl " + material + "\n";
            current = material;
            bool textured = material.rfind("texture_", 0) == 0;
            face_lines(out, polygon, textured, next_uv);
        }
    }
    return out;
}

std::vector<uint8_t> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace

void export_obj(const std::string& path, const std::string& source_label) {
    std::string_view folder = folder_part(path);
    std::string mtl = path.substr(0, path.size() - extension_part(path).size()) + ".mtl";
    std::vector<ExportedTexture> textures =
        export_textures(folder.empty() ? "." : std::string(folder));
    write_output(mtl, bytes_of(mtl_text(textures)));
    write_output(path, bytes_of(obj_text(std::string(name_part(mtl)), source_label, textures)));
}
