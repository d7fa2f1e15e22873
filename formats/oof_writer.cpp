// export_oof: builds the version-2300 image chunk by chunk and saves it to view.export_path.
#include "formats/oof_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "formats/export_file.h"
#include "formats/oof_write_chunks.h"
#include "state/counts.h"
#include "state/messages.h"
#include "state/polymodel.h"

namespace {

constexpr uint32_t WRITTEN_VERSION = 2300;

void write_txtr(ByteWriter& out) {
    uint32_t count = clamp_count(model.num_textures, MAX_TEXTURE);
    size_t at = begin_chunk(out, "TXTR");
    out.u32(count);
    for (uint32_t i = 0; i < count; ++i)
        write_string(out, model.textures[i].name, TEXTURE_NAME_LEN);
    end_chunk(out, at);
}

void write_spcl(ByteWriter& out) {
    const SpecialPoint& points = model.special_points;
    uint32_t count = clamp_count(model.num_special_points, MAX_PNT);
    size_t at = begin_chunk(out, "SPCL");
    out.u32(count);
    for (uint32_t i = 0; i < count; ++i) {
        write_string(out, points.name[i], SPECIAL_STRING_LEN - 1);
        write_string(out, points.properties[i], SPECIAL_STRING_LEN - 1);
        out.vec3(points.location[i]);
        out.f32(points.radius[i]);
    }
    end_chunk(out, at);
}

void write_point_list(ByteWriter& out, const char* tag, uint32_t num, const PointList& list) {
    uint32_t count = clamp_count(num, MAX_PNT);
    size_t at = begin_chunk(out, tag);
    out.u32(count);
    for (uint32_t i = 0; i < count; ++i) {
        out.u32(list.submodel[i]);
        out.vec3(list.location[i]);
        out.vec3(list.direction[i]);
    }
    end_chunk(out, at);
}

void write_index_list(ByteWriter& out, uint32_t num, const uint32_t* list) {
    uint32_t count = clamp_count(num, MAX_PNT);
    out.u32(count);
    for (uint32_t i = 0; i < count; ++i)
        out.u32(list[i]);
}

void write_wbat(ByteWriter& out) {
    const WeaponBattery& batteries = model.batteries;
    uint32_t count = clamp_count(model.num_batteries, MAX_PNT);
    size_t at = begin_chunk(out, "WBAT");
    out.u32(count);
    for (uint32_t b = 0; b < count; ++b) {
        write_index_list(out, batteries.num_guns[b], batteries.guns[b]);
        write_index_list(out, batteries.num_turrets[b], batteries.turrets[b]);
    }
    end_chunk(out, at);
}

// Keys of subobject s that lie inside the key table; a window that runs past it is cut.
uint32_t keys_in_table(uint32_t first, uint32_t num) {
    return first >= MAX_ANI ? 0 : clamp_count(num, MAX_ANI - first);
}

template <class WriteKey>
void write_key_chunk(ByteWriter& out, const char* tag, const uint32_t* first_key,
                     const uint32_t* num_keys, const uint32_t* key_frame, WriteKey write_key) {
    size_t at = begin_chunk(out, tag);
    for (uint32_t s = 0; s < clamp_count(model.num_subobjects, MAX_SOBJ); ++s) {
        uint32_t first = first_key[s], n = keys_in_table(first, num_keys[s]);
        uint32_t lo = n ? key_frame[first] : 0, hi = lo;
        for (uint32_t i = first; i < first + n; ++i) {
            lo = std::min(lo, key_frame[i]);
            hi = std::max(hi, key_frame[i]);
        }
        out.u32(n);
        out.u32(lo);
        out.u32(hi);
        for (uint32_t i = first; i < first + n; ++i) {
            out.u32(key_frame[i]);
            write_key(i);
        }
    }
    end_chunk(out, at);
}

bool any_keys(const uint32_t* num_keys) {
    for (uint32_t s = 0; s < clamp_count(model.num_subobjects, MAX_SOBJ); ++s)
        if (num_keys[s] != 0)
            return true;
    return false;
}

void write_animation(ByteWriter& out) {
    if (any_keys(model.pos_num_keys))
        write_key_chunk(out, "PANI", model.pos_first_key, model.pos_num_keys, model.pos_key_frame,
                        [&](uint32_t i) { out.vec3(model.pos_key_pos[i]); });
    if (any_keys(model.rot_num_keys))
        write_key_chunk(out, "RANI", model.rot_first_key, model.rot_num_keys, model.rot_key_frame,
                        [&](uint32_t i) {
                            out.vec3(model.rot_key_axis[i]);
                            out.u32(model.rot_key_angle[i]);
                        });
}

void write_pinf(ByteWriter& out) {
    size_t at = begin_chunk(out, "PINF");
    out.bytes(model.pinf_text, strnlen(model.pinf_text, MAX_PINF));
    end_chunk(out, at);
}

void write_points(ByteWriter& out) {
    if (model.num_special_points != 0)
        write_spcl(out);
    if (model.num_gun_points != 0)
        write_point_list(out, "GPNT", model.num_gun_points, model.gun_points);
    if (model.num_ground_points != 0)
        write_point_list(out, "GRND", model.num_ground_points, model.ground_points);
    if (model.num_attach_points != 0)
        write_point_list(out, "ATCH", model.num_attach_points, model.attach_points);
    if (model.num_nath_points != 0)
        write_point_list(out, "NATH", model.num_nath_points, model.nath_points);
    if (model.num_batteries != 0)
        write_wbat(out);
}

// The image's size from the counts, a little over, so that it is allocated once: the lists,
// texture names and PINF text take less than 8 KB, a subobject's fixed fields less than 256.
size_t image_size_estimate() {
    uint32_t subobjects = clamp_count(model.num_subobjects, MAX_SOBJ);
    size_t size = 8192 + 256 * size_t(subobjects) + 28 * size_t(model.num_vertices);
    for (uint32_t p = 0; p < clamp_count(model.num_polygons, MAX_POLY); ++p)
        size += 32 + 12 * clamp_count(model.polygons[p].num_points, MAX_POLY_POINTS);
    for (uint32_t s = 0; s < subobjects; ++s)
        size += 24 + 16 * keys_in_table(model.pos_first_key[s], model.pos_num_keys[s]) +
                20 * keys_in_table(model.rot_first_key[s], model.rot_num_keys[s]);
    return size;
}

std::vector<uint8_t> build_image() {
    ByteWriter out;
    out.reserve(image_size_estimate());
    out.bytes("PSPO", 4);
    out.u32(WRITTEN_VERSION);
    if (model.num_textures != 0)
        write_txtr(out);
    write_ohdr(out);
    write_subobjects(out);
    write_points(out);
    write_animation(out);
    if (model.pinf_text[0] != '\0')
        write_pinf(out);
    return out.take();
}

} // namespace

size_t begin_chunk(ByteWriter& out, const char* tag) {
    out.bytes(tag, 4);
    size_t length_at = out.size();
    out.u32(0);
    return length_at;
}

void end_chunk(ByteWriter& out, size_t length_at) {
    out.patch_u32(length_at, uint32_t(out.size() - length_at - 4));
}

void write_string(ByteWriter& out, const char* field, size_t longest) {
    size_t n = strnlen(field, longest);
    bool terminated = n < longest;
    out.u32(uint32_t(terminated ? n + 1 : n));
    out.bytes(field, n);
    if (terminated)
        out.u8(0);
}

std::vector<uint8_t> export_oof_bytes() {
    try {
        return build_image();
    } catch (const std::bad_alloc&) {
        std::fputs("Not enough memory to allocate buffer\n", stdout);
        std::fflush(stdout);
        std::exit(1);
    }
}

bool export_oof() {
    if (!save_export(export_oof_bytes())) {
        message_box("ERROR", "Can't write the output file");
        return false;
    }
    return true;
}
