// prepare_model: origins, model radius, and the "$facing", "$rotate=", "$glow=" and "$fov="
// property strings turned into per-subobject display state.
#include "formats/model_properties.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "state/counts.h"
#include "state/file_io.h"
#include "state/messages.h"
#include "state/polymodel.h"
#include "state/sobj_chain.h"
#include "state/vector_math.h"
#include "state/view_state.h"

namespace {

constexpr Vec3 kZ{0, 0, 1};

float round3(double x) {
    return float(std::floor(x * 1000.0) * 0.001);
}

Vec3 round3(Vec3 a) {
    return {round3(a.x), round3(a.y), round3(a.z)};
}

// The largest coordinate of the assembled model, or the magnitude of the most negative one cut
// to whole units (-12.7 counts as 12) when that is larger.
void compute_model_radius() {
    Vec3 origins[MAX_SOBJ];
    subobject_origins(origins);
    float hi = 0, lo = 0;
    uint32_t count = clamp_count(model.num_vertices, MAX_VECT);
    for (uint32_t v = 0; v < count; ++v) {
        Vec3 p = model_space_position(origins, v);
        for (float c : {p.x, p.y, p.z}) {
            if (c > hi)
                hi = c;
            if (c < lo)
                lo = c;
        }
    }
    float m = std::trunc(-lo);
    model.model_radius = m > hi ? m : hi;
}

void reset_properties() {
    model.any_rotate = 0;
    std::fill_n(view.spin_angle, MAX_SOBJ, 0.0f);
    std::fill_n(model.sobj_facing, MAX_SOBJ, 0);
    std::fill_n(model.sobj_rotate, MAX_SOBJ, 0);
    std::fill_n(model.sobj_glow, MAX_SOBJ, 0);
    std::fill_n(model.sobj_fov, MAX_SOBJ, 0);
}

bool has_prefix(std::string_view text, std::string_view prefix) {
    return equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads one number from the start of text like "%f" would, but independent of the process
// locale, so ".2" stays 0.2 under a locale with a decimal comma. On success text is cut to
// what follows the number; false, with out unchanged, when no number starts there.
bool read_number(std::string_view& text, float& out) {
    size_t at = 0;
    while (at < text.size() && is_space(text[at]))
        ++at;
    if (text.substr(at, 1) == "+" && text.substr(at + 1, 1) != "-")
        ++at;
    float value;
    auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc())
        return false;
    out = value;
    text.remove_prefix(size_t(end - text.data()));
    return true;
}

// The last polygon of subobject s with its rounded normal; false when s owns none.
bool last_polygon_of(uint32_t s, uint32_t& index, Vec3& normal, uint32_t& count) {
    count = 0;
    uint32_t polygons = clamp_count(model.num_polygons, MAX_POLY);
    for (uint32_t j = 0; j < polygons; ++j) {
        if (model.polygons[j].sobj != s)
            continue;
        ++count;
        index = j;
    }
    if (count > 0)
        normal = round3(model.polygons[index].normal);
    return count > 0;
}

// Angle to +Z and the axis that turns the normal there; the fallback axis for a normal along Z
// differs between "$facing" and "$glow=".
void set_facing(uint32_t s, Vec3 normal, Vec3 fallback_axis) {
    float a = round3(double(vec_angle_deg(normal, kZ)));
    model.facing[s].facing_angle = a;
    model.facing[s].facing_axis =
        (a == 0.0f || a == 180.0f) ? fallback_axis : vec_cross_unit(normal, kZ);
}

void apply_facing(uint32_t s) {
    model.sobj_facing[s] = 1;
    uint32_t index = 0, count = 0;
    Vec3 normal{};
    if (!last_polygon_of(s, index, normal, count))
        return;
    if (count >= 2)
        message_box("INFO", "$facing... NumPoly > 1");
    set_facing(s, normal, Vec3{0, 1, 0});
}

bool skip_comma(std::string_view& text) {
    if (!text.starts_with(','))
        return false;
    text.remove_prefix(1);
    return true;
}

void apply_rotate(uint32_t s, std::string_view numbers) {
    model.sobj_rotate[s] = 1;
    read_number(numbers, model.rotate_time[s]);
    model.any_rotate = 1;
}

void apply_glow(uint32_t s, std::string_view text) {
    model.sobj_glow[s] = 1;
    GlowRecord& glow = model.glow[s];
    float* fields[4] = {&glow.glow_color[0], &glow.glow_color[1], &glow.glow_color[2],
                        &glow.glow_amount};
    bool read = true;
    for (int i = 0; i < 4 && read; ++i)
        read = (i == 0 || skip_comma(text)) && read_number(text, *fields[i]);
    // Only a freshly read amount is scaled: an unreadable one keeps its already scaled value,
    // so running the derivation again after an edit never multiplies it once more.
    if (read)
        glow.glow_amount *= 10.0f;
    uint32_t index = 0, count = 0;
    Vec3 normal{};
    // A flat-coloured glow polygon is turned toward the viewer; a textured one is not.
    if (last_polygon_of(s, index, normal, count) && model.polygons[index].n_txtr == 0) {
        model.sobj_facing[s] = 1;
        set_facing(s, normal, Vec3{1, 0, 0});
    }
}

void apply_properties(uint32_t s) {
    std::string_view props(model.sobj_props[s], strnlen(model.sobj_props[s], SOBJ_STRING_LEN));
    // Only the text from the last '$' counts.
    size_t last = props.rfind('$');
    if (last == std::string_view::npos)
        return;
    std::string_view text = props.substr(last);
    if (has_prefix(text, "$facing"))
        apply_facing(s);
    else if (has_prefix(text, "$rotate="))
        apply_rotate(s, text.substr(8));
    else if (has_prefix(text, "$glow="))
        apply_glow(s, text.substr(6));
    else if (has_prefix(text, "$fov="))
        model.sobj_fov[s] = 1;
}

} // namespace

void prepare_model() {
    compute_model_radius();
    reset_properties();
    uint32_t count = clamp_count(model.num_subobjects, MAX_SOBJ);
    for (uint32_t s = 0; s < count; ++s)
        apply_properties(s);
}
