// The info report as text for a person: counts, bounds, the subobject tree and the textures.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/archive_listing.h"
#include "cli/info_report.h"
#include "cli/model_summary.h"
#include "state/polymodel.h"

namespace {

void append(std::string& out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

std::string vec_text(Vec3 v) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", double(v.x), double(v.y), double(v.z));
    return text;
}

void counts(std::string& out) {
    append(out, "  subobjects %u, vertices %u, polygons %u, textures %u\n", num_sobj(),
           model.num_vertices, model.num_polygons, num_textures());
    append(out, "  points: gun %u, ground %u, attach %u, nath %u, special %u; batteries %u\n",
           model.num_gun_points, model.num_ground_points, model.num_attach_points,
           model.num_nath_points, model.num_special_points, model.num_batteries);
    append(out, "  keys: position %u, rotation %u; keyframes %u\n", position_key_count(),
           rotation_key_count(), model.num_used_frames);
    ModelBounds b = model_bounds();
    append(out, "  bounds %s to %s, radius %g\n", vec_text(b.min).c_str(), vec_text(b.max).c_str(),
           double(b.radius));
}

std::string derived_text(uint32_t s) {
    std::string text;
    if (model.sobj_facing[s])
        append(text, "  facing %g deg about %s", double(model.facing[s].facing_angle),
               vec_text(model.facing[s].facing_axis).c_str());
    if (model.sobj_rotate[s])
        append(text, "  rotate %g", double(model.rotate_time[s]));
    if (model.sobj_glow[s]) {
        const GlowRecord& g = model.glow[s];
        append(text, "  glow (%g, %g, %g) amount %g", double(g.glow_color[0]),
               double(g.glow_color[1]), double(g.glow_color[2]), double(g.glow_amount));
    }
    if (model.sobj_fov[s])
        text += "  fov";
    return text;
}

void subobject_line(std::string& out, uint32_t s, int depth) {
    std::string name(model.sobj_name[s], strnlen(model.sobj_name[s], SOBJ_STRING_LEN));
    std::string props(model.sobj_props[s], strnlen(model.sobj_props[s], SOBJ_STRING_LEN));
    append(out, "  %*s%u %s: %u vertices, %u polygons", depth * 2, "", s,
           name.empty() ? "(no name)" : name.c_str(), sobj_vertex_count(s), sobj_polygon_count(s));
    if (!props.empty())
        append(out, ", \"%s\"", props.c_str());
    out += derived_text(s) + "\n";
}

// Depth first from each root, children in index order, as the model hangs together.
void subobject_tree(std::string& out, int parent, int depth) {
    for (uint32_t s = 0; s < num_sobj(); ++s) {
        if (tree_parent(s) != parent)
            continue;
        subobject_line(out, s, depth);
        subobject_tree(out, int(s), depth + 1);
    }
}

void textures(std::string& out) {
    for (uint32_t t = 0; t < num_textures(); ++t) {
        TextureSource found = texture_source(t);
        append(out, "  %u %s: %s%s%s\n", t, texture_name(t).c_str(),
               found.found ? found.file.c_str() : "missing",
               found.found && found.in_archive ? " (in the archive)" : "",
               model.textures[t].referenced ? "" : ", unused");
    }
}

std::string title(const ModelSource& source) {
    return source.label + ": " + source_kind_name(source);
}

} // namespace

const char* source_kind_name(const ModelSource& source) {
    switch (source.kind) {
    case SourceKind::room:
        return "room";
    case SourceKind::truespace:
        return "truespace";
    case SourceKind::archive:
        return "archive";
    case SourceKind::polymodel:
    case SourceKind::archive_entry:
        break;
    }
    return "polymodel";
}

std::string model_info_text(const ModelSource& source) {
    std::string out = title(source) + "\n";
    counts(out);
    if (model.num_used_frames != 0) {
        out += "  frames:";
        for (uint32_t i = 0; i < model.num_used_frames && i < uint32_t(MAX_ANI); ++i)
            append(out, " %u", model.used_frames[i]);
        out += "\n";
    }
    out += "subobjects:\n";
    subobject_tree(out, -1, 0);
    if (num_textures() != 0) {
        out += "textures:\n";
        textures(out);
    }
    return out;
}

std::string archive_info_text(const ModelSource& source) {
    std::vector<ListedEntry> entries = list_entries();
    std::string out = title(source);
    append(out, ", %zu entries\n", entries.size());
    for (EntryKind kind : {EntryKind::polymodel, EntryKind::texture, EntryKind::animated_texture,
                           EntryKind::other}) {
        size_t count = 0;
        for (const ListedEntry& entry : entries)
            count += entry.kind == kind;
        if (count == 0)
            continue;
        append(out, "%s (%zu):\n", kind_name(kind), count);
        for (const ListedEntry& entry : entries)
            if (entry.kind == kind)
                append(out, "  %s  %u bytes\n", entry.name.c_str(), entry.size);
    }
    return out;
}
