// The table chunks: texture list, the four point lists, special points, batteries and PINF.
#include <cstring>

#include "formats/oof_read_chunks.h"
#include "state/messages.h"
#include "state/polymodel.h"

namespace {

// Counts are checked before they are stored, so a refused file leaves no count past a table.
uint32_t read_count(ByteCursor& cursor, uint32_t limit, const char* too_many, int status) {
    uint32_t count = cursor.u32();
    if (count > limit)
        fatal_error(too_many, status);
    return count;
}

void read_point_list(ByteCursor& cursor, uint32_t& count, PointList& list, const char* too_many) {
    count = read_count(cursor, MAX_PNT, too_many, 7);
    for (uint32_t i = 0; i < count; ++i) {
        list.submodel[i] = cursor.u32();
        list.location[i] = cursor.vec3();
        list.direction[i] = cursor.vec3();
    }
}

void read_index_list(ByteCursor& cursor, uint32_t& count, uint32_t* list, const char* too_many) {
    count = read_count(cursor, MAX_PNT, too_many, 7);
    for (uint32_t i = 0; i < count; ++i)
        list[i] = cursor.u32();
}

} // namespace

void read_txtr(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    model.num_textures = read_count(cursor, MAX_TEXTURE, "total_texture > MAX_TEXTURE", 0);
    for (uint32_t i = 0; i < model.num_textures; ++i) {
        TextureSlot& slot = model.textures[i];
        slot.referenced = 0;
        uint32_t n = cursor.u32();
        if (n > TEXTURE_NAME_LEN)
            fatal_error("charcount > 36", 0);
        // A shorter name must not pick up the end of the slot's previous name.
        std::memset(slot.name, 0, sizeof slot.name);
        cursor.bytes(slot.name, n);
    }
}

void read_gpnt(OofInput& in) {
    read_point_list(in.cursor, model.num_gun_points, model.gun_points, "GPNT > MAX_PNT... ouch");
}

void read_grnd(OofInput& in) {
    read_point_list(in.cursor, model.num_ground_points, model.ground_points,
                    "GRND > MAX_PNT... ouch");
}

void read_atch(OofInput& in) {
    read_point_list(in.cursor, model.num_attach_points, model.attach_points,
                    "ATCH > MAX_PNT... ouch");
}

void read_nath(OofInput& in) {
    read_point_list(in.cursor, model.num_nath_points, model.nath_points, "NATH > MAX_PNT... ouch");
}

void read_spcl(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    SpecialPoint& points = model.special_points;
    model.num_special_points = read_count(cursor, MAX_PNT, "SPCL > MAX_PNT... ouch", 7);
    for (uint32_t i = 0; i < model.num_special_points; ++i) {
        read_terminated_string(cursor, points.name[i], SPECIAL_STRING_LEN,
                               "SPCL name > 49 chars... ouch");
        read_terminated_string(cursor, points.properties[i], SPECIAL_STRING_LEN,
                               "SPCL props > 49 chars... ouch");
        points.location[i] = cursor.vec3();
        points.radius[i] = cursor.f32();
    }
}

void read_wbat(OofInput& in) {
    ByteCursor& cursor = in.cursor;
    WeaponBattery& batteries = model.batteries;
    model.num_batteries = read_count(cursor, MAX_PNT, "WBAT > MAX_PNT... ouch", 7);
    for (uint32_t b = 0; b < model.num_batteries; ++b) {
        read_index_list(cursor, batteries.num_guns[b], batteries.guns[b],
                        "WBATnumgun > MAX_PNT... ouch");
        read_index_list(cursor, batteries.num_turrets[b], batteries.turrets[b],
                        "WBATnumeye > MAX_PNT... ouch");
    }
}

void read_pinf(OofInput& in, uint32_t length) {
    if (length > MAX_PINF)
        fatal_error("PINF length > MAX_PINF Chars... ouch", 7);
    in.cursor.string_field(model.pinf_text, length);
}
