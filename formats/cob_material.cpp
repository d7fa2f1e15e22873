// read_mat1: one trueSpace material: a plain colour or a texture map for the faces it numbers.
#include <cstdio>
#include <cstring>

#include "formats/cob_chunks.h"
#include "formats/cob_scene.h"
#include "state/counts.h"

namespace {

constexpr int NO_TEXTURE = -1;

// Holds a whole name as the file gives it (its length is a u16) before it is cut to fit.
char raw_name[65536];

// f32 x 255, truncated toward zero; values outside 0..1 are held at the ends of the byte.
uint8_t colour_byte(float value) {
    float scaled = value * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= 255.0f ? 255 : uint8_t(scaled);
}

// The faces of the most recent PolH that carry this material number.
template <class F> void for_material_faces(uint32_t number, F&& update) {
    CobScene& s = cob_scene;
    if (s.num_polh == 0)
        return;
    for (uint32_t i = 0; i < s.num_faces; ++i) {
        CobFace& face = s.faces[i];
        if (face.polh == s.num_polh - 1 && face.material == number)
            update(face);
    }
}

void apply_colour(const CobMaterial& material) {
    uint8_t red = colour_byte(material.red);
    uint8_t green = colour_byte(material.green);
    uint8_t blue = colour_byte(material.blue);
    for_material_faces(material.number, [&](CobFace& face) {
        face.texture = 0;
        face.red = red;
        face.green = green;
        face.blue = blue;
        face.textured = 0;
        face.material_slot = 0;
    });
}

void apply_texture(const CobMaterial& material, uint32_t slot, uint32_t texture) {
    for_material_faces(material.number, [&](CobFace& face) {
        face.texture = texture;
        face.textured = 1;
        face.material_slot = slot;
    });
}

// Index of name in the texture-file list, appending it when it is new (exact comparison).
uint32_t texture_file_index(const char* name) {
    CobScene& s = cob_scene;
    for (uint32_t k = 0; k < s.num_texture_files; ++k)
        if (std::strcmp(s.texture_files[k], name) == 0)
            return k;
    if (s.num_texture_files >= COB_MAX_TEXTURE_NAMES)
        refuse_cob("cob: textures > 100... ouch");
    std::strcpy(s.texture_files[s.num_texture_files], name);
    return s.num_texture_files++;
}

// "t:": the file name and the texture parameters. A name too long for its place keeps its
// last part, where the file name that becomes the texture name is.
uint32_t read_texture_map(ByteCursor& data, CobMaterial& material) {
    data.skip(1);
    uint16_t length = data.u16();
    data.bytes(raw_name, length);
    size_t used = strnlen(raw_name, length);
    size_t kept = clamp_count(uint32_t(used), COB_TEXTURE_FILE_LEN - 1);
    char name[COB_TEXTURE_FILE_LEN];
    std::memcpy(name, raw_name + (used - kept), kept);
    name[kept] = '\0';
    material.u_offset = data.f32();
    material.v_offset = data.f32();
    material.u_repeat = data.f32();
    material.v_repeat = data.f32();
    return texture_file_index(name);
}

// The sub-chunks after the record, up to the chunk's end; stops at the first texture map.
int read_maps(ByteCursor& data, CobMaterial& material) {
    while (data.remaining() > 0) {
        char tag[2];
        data.bytes(tag, 2);
        if (std::memcmp(tag, "t:", 2) == 0)
            return int(read_texture_map(data, material));
        if (std::memcmp(tag, "e:", 2) == 0)
            data.skip(data.u16());
        else if (std::memcmp(tag, "b:", 2) != 0)
            std::printf(" big oops...\n");
    }
    return NO_TEXTURE;
}

} // namespace

void read_mat1(ByteCursor& data) {
    CobScene& s = cob_scene;
    if (s.num_materials >= COB_MAX_MATERIALS)
        refuse_cob("cob: Mat1 > 250... ouch");
    uint32_t slot = s.num_materials;
    CobMaterial& material = s.materials[slot];
    material = {};
    material.number = data.u16();
    data.skip(3); // shader type, facet type, auto-facet angle
    material.red = data.f32();
    material.green = data.f32();
    material.blue = data.f32();
    data.skip(4 * 5); // alpha, ambient, specular, exponent, index of refraction
    // A material that names no texture map is a plain colour, whatever else follows.
    int texture = read_maps(data, material);
    if (texture == NO_TEXTURE)
        apply_colour(material);
    else
        apply_texture(material, slot, uint32_t(texture));
    s.num_materials++;
}
