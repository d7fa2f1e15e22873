// The info report as one JSON document.
#include <cstring>

#include "cli/archive_listing.h"
#include "cli/info_report.h"
#include "cli/json_writer.h"
#include "cli/model_summary.h"
#include "state/polymodel.h"

namespace {

constexpr int INFO_VERSION = 1;

void counts(JsonWriter& out) {
    const struct {
        const char* name;
        uint32_t value;
    } rows[] = {
        {"subobjects", num_sobj()},
        {"vertices", model.num_vertices},
        {"polygons", model.num_polygons},
        {"textures", num_textures()},
        {"gun_points", model.num_gun_points},
        {"ground_points", model.num_ground_points},
        {"attach_points", model.num_attach_points},
        {"nath_points", model.num_nath_points},
        {"special_points", model.num_special_points},
        {"batteries", model.num_batteries},
        {"position_keys", position_key_count()},
        {"rotation_keys", rotation_key_count()},
        {"keyframes", model.num_used_frames},
    };
    out.key("counts");
    out.begin_object();
    for (const auto& row : rows) {
        out.key(row.name);
        out.integer(row.value);
    }
    out.end_object();
}

void bounds(JsonWriter& out) {
    ModelBounds b = model_bounds();
    out.key("bounds");
    out.begin_object();
    out.key("min");
    out.vec3(b.min);
    out.key("max");
    out.vec3(b.max);
    out.key("radius");
    out.number(b.radius);
    out.key("model_radius");
    out.number(model.model_radius);
    out.end_object();
}

void frames(JsonWriter& out) {
    out.key("frames");
    out.begin_array();
    for (uint32_t i = 0; i < model.num_used_frames && i < uint32_t(MAX_ANI); ++i)
        out.integer(model.used_frames[i]);
    out.end_array();
}

void derived(JsonWriter& out, uint32_t s) {
    out.key("derived");
    out.begin_object();
    out.key("facing");
    if (model.sobj_facing[s]) {
        out.begin_object();
        out.key("angle");
        out.number(model.facing[s].facing_angle);
        out.key("axis");
        out.vec3(model.facing[s].facing_axis);
        out.end_object();
    } else {
        out.null();
    }
    out.key("rotate");
    if (model.sobj_rotate[s]) {
        out.begin_object();
        out.key("time");
        out.number(model.rotate_time[s]);
        out.end_object();
    } else {
        out.null();
    }
    out.key("glow");
    if (model.sobj_glow[s]) {
        const GlowRecord& g = model.glow[s];
        out.begin_object();
        out.key("color");
        out.vec3({g.glow_color[0], g.glow_color[1], g.glow_color[2]});
        out.key("amount");
        out.number(g.glow_amount);
        out.end_object();
    } else {
        out.null();
    }
    out.key("fov");
    out.boolean(model.sobj_fov[s] != 0);
    out.end_object();
}

void subobject(JsonWriter& out, uint32_t s) {
    out.begin_object();
    out.key("index");
    out.integer(s);
    out.key("name");
    out.string({model.sobj_name[s], strnlen(model.sobj_name[s], SOBJ_STRING_LEN)});
    out.key("parent");
    out.integer(tree_parent(s));
    out.key("depth");
    out.integer(sobj_depth(s));
    out.key("offset");
    out.vec3(model.sobj_offset[s]);
    out.key("properties");
    out.string({model.sobj_props[s], strnlen(model.sobj_props[s], SOBJ_STRING_LEN)});
    out.key("vertices");
    out.integer(sobj_vertex_count(s));
    out.key("polygons");
    out.integer(sobj_polygon_count(s));
    derived(out, s);
    out.end_object();
}

void texture(JsonWriter& out, uint32_t t) {
    TextureSource found = texture_source(t);
    out.begin_object();
    out.key("index");
    out.integer(t);
    out.key("name");
    out.string(texture_name(t));
    out.key("used");
    out.boolean(model.textures[t].referenced != 0);
    out.key("file");
    if (found.found)
        out.string(found.file);
    else
        out.null();
    out.key("in_archive");
    out.boolean(found.found && found.in_archive);
    out.end_object();
}

void header(JsonWriter& out, const ModelSource& source) {
    out.begin_object();
    out.key("info_version");
    out.integer(INFO_VERSION);
    out.key("file");
    out.string(source.path);
    if (source.kind == SourceKind::archive_entry) {
        out.key("entry");
        out.string(source.entry);
    }
    out.key("kind");
    out.string(source_kind_name(source));
}

void entry_list(JsonWriter& out, const char* key, const std::vector<ListedEntry>& entries,
                EntryKind kind) {
    out.key(key);
    out.begin_array();
    for (const ListedEntry& entry : entries) {
        if (entry.kind != kind)
            continue;
        out.begin_object();
        out.key("name");
        out.string(entry.name);
        out.key("size");
        out.integer(entry.size);
        out.end_object();
    }
    out.end_array();
}

} // namespace

std::string model_info_json(const ModelSource& source) {
    JsonWriter out;
    header(out, source);
    counts(out);
    bounds(out);
    frames(out);
    out.key("subobjects");
    out.begin_array();
    for (uint32_t s = 0; s < num_sobj(); ++s)
        subobject(out, s);
    out.end_array();
    out.key("textures");
    out.begin_array();
    for (uint32_t t = 0; t < num_textures(); ++t)
        texture(out, t);
    out.end_array();
    out.key("pinf");
    out.string({model.pinf_text, strnlen(model.pinf_text, MAX_PINF)});
    out.end_object();
    return out.text();
}

std::string archive_info_json(const ModelSource& source) {
    std::vector<ListedEntry> entries = list_entries();
    JsonWriter out;
    header(out, source);
    out.key("entries");
    out.integer(int64_t(entries.size()));
    entry_list(out, "polymodels", entries, EntryKind::polymodel);
    entry_list(out, "textures", entries, EntryKind::texture);
    entry_list(out, "animated_textures", entries, EntryKind::animated_texture);
    entry_list(out, "other", entries, EntryKind::other);
    out.end_object();
    return out.text();
}
