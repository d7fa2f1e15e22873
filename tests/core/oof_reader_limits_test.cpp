// load_oof refusals: every fatal message with its caption and exit status, each limit at its
// value (loads) and one past it (stops), and the limits the file format leaves unchecked.
#include <cstring>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"

namespace {

using Chunks = std::vector<OofChunk>;

OofSubobject with_polygons(uint32_t vertices, std::vector<std::vector<uint32_t>> polygons = {}) {
    OofSubobject sobj;
    sobj.positions.assign(vertices, Vec3{1, 2, 3});
    for (const std::vector<uint32_t>& corners : polygons) {
        sobj.polygons.emplace_back();
        for (uint32_t c : corners)
            sobj.polygons.back().corners.push_back({c, 0, 0});
    }
    return sobj;
}

OofChunk sobj(uint32_t vertices, uint32_t polygons = 0) {
    return oof_sobj(with_polygons(vertices, std::vector(polygons, std::vector<uint32_t>{0})), 2300);
}

OofChunk sobj(const OofSubobject& s) {
    return oof_sobj(s, 2300);
}

OofChunk named(std::string name, std::string props) {
    OofSubobject s;
    s.name = std::move(name);
    s.props = std::move(props);
    return sobj(s);
}

OofChunk textured(uint32_t texture) {
    OofSubobject s = with_polygons(1, {{0}});
    s.polygons[0].n_txtr = 1;
    s.polygons[0].texture = texture;
    return sobj(s);
}

uint32_t all_points() {
    return model.num_gun_points + model.num_ground_points + model.num_attach_points +
           model.num_nath_points;
}

class OofLimitTest : public CoreTest {
  protected:
    void load(const std::vector<uint8_t>& bytes) {
        sink.boxes.clear();
        view.model_loaded = 0;
        std::strcpy(view.oof_path, dir.write("model.oof", bytes).c_str());
        load_oof(0);
    }
    // Loads and expects a stop with this message as the last box, caption "ERROR".
    void expect_stop(const std::vector<uint8_t>& bytes, const std::string& text, int status) {
        EXPECT_EQ(exit_status_of([&] { load(bytes); }), status) << text;
        EXPECT_EQ(last_text(), text);
        EXPECT_EQ(last_caption(), "ERROR");
        EXPECT_EQ(view.model_loaded, 0);
        EXPECT_LE(model.num_vertices, uint32_t(MAX_VECT));
        EXPECT_LE(model.num_polygons, uint32_t(MAX_POLY));
    }
    // Loads `at` (when given) and expects count() to reach `expected`, then stops on `past`.
    void limit(const Chunks& at, uint32_t (*count)(), uint32_t expected, const Chunks& past,
               const std::string& text, int status) {
        SCOPED_TRACE(text);
        if (!at.empty()) {
            load(build_oof(2300, at));
            EXPECT_TRUE(sink.boxes.empty()) << last_text();
            EXPECT_EQ(view.model_loaded, 1);
            EXPECT_EQ(count(), expected);
        }
        expect_stop(build_oof(2300, past), text, status);
    }
};

TEST_F(OofLimitTest, FilesThatCannotBeOpenedPositionsPastTheListAndWrongHeaders) {
    std::strcpy(view.oof_path, dir.path("missing.oof").c_str());
    EXPECT_EQ(exit_status_of([] { load_oof(0); }), -2);
    EXPECT_EQ(last_text(), "Can't open the oof file");
    EXPECT_EQ(last_caption(), "ERROR");

    std::vector<uint8_t> bytes = build_oof(2300, {});
    std::strcpy(hog.hog_path, dir.write("one.hog", bytes).c_str());
    hog.num_entries = 1;
    hog.num_oof = 1;
    hog.entries[0] = {"a.oof", uint32_t(bytes.size()), 0};
    load_oof(0);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(exit_status_of([] { load_oof(1); }), 7) << "past the polymodel list";
    EXPECT_EQ(last_text(), "Oof: hog entry > num_oof... ouch");
    std::strcpy(hog.hog_path, dir.path("missing.hog").c_str());
    EXPECT_EQ(exit_status_of([] { load_oof(0); }), -2);
    EXPECT_EQ(last_text(), "Oof: Can't open the hog file");
    hog.num_entries = 0;

    expect_stop(build_oof(2300, {}, "PSPX"), "oof header is wrong", 0);
    expect_stop({'P', 'S', 'P'}, "oof header is wrong", 0);
    expect_stop({}, "oof header is wrong", 0);
    for (const char* tag : {"SOBX", "sobj"})
        expect_stop(build_oof(2300, {{tag, {}, std::nullopt}}),
                    "Oof data is bad, unknown datatype... ouch", 5);
}

TEST_F(OofLimitTest, EachLimitLoadsAtItsValueAndStopsOnePastIt) {
    for (const char* tag : {"GPNT", "GRND", "ATCH", "NATH"})
        limit({oof_points(tag, std::vector(10, OofPoint{1, {}, {}}))}, all_points, 10,
              {oof_points(tag, std::vector(11, OofPoint{1, {}, {}}))},
              std::string(tag) + " > MAX_PNT... ouch", 7);
    std::vector<OofSpecial> specials(10, OofSpecial{"n", "p", {}, 1});
    limit(
        {oof_spcl(specials)}, [] { return model.num_special_points; }, 10,
        {oof_spcl(std::vector(11, specials[0]))}, "SPCL > MAX_PNT... ouch", 7);

    std::vector<uint32_t> ten(10, 1), eleven(11, 1);
    limit(
        {oof_wbat(std::vector(10, OofBattery{ten, ten}))},
        [] { return model.batteries.num_guns[9] + model.batteries.num_turrets[9]; }, 20,
        {oof_wbat(std::vector<OofBattery>(11))}, "WBAT > MAX_PNT... ouch", 7);
    limit({}, nullptr, 0, {oof_wbat({{ten, ten}, {eleven, ten}})}, "WBATnumgun > MAX_PNT... ouch",
          7);
    limit({}, nullptr, 0, {oof_wbat({{ten, eleven}})}, "WBATnumeye > MAX_PNT... ouch", 7);

    limit(
        {oof_pinf(std::string(1000, 'q'))}, [] { return uint32_t(strlen(model.pinf_text)); }, 1000,
        {oof_pinf(std::string(1001, 'q'))}, "PINF length > MAX_PINF Chars... ouch", 7);
    limit(
        {oof_txtr(std::vector(35, std::string(36, 'n')))}, [] { return model.num_textures; }, 35,
        {oof_txtr(std::vector<std::string>(36, "n"))}, "total_texture > MAX_TEXTURE", 0);
    limit({}, nullptr, 0, {oof_txtr({"a", std::string(37, 'n')})}, "charcount > 36", 0);

    limit(
        {sobj(2000), sobj(2000)}, [] { return model.num_vertices; }, 4000, {sobj(2000), sobj(2001)},
        "Vcount > MAX_VECT... ouch", 7);
    limit(
        {sobj(1, 3000), sobj(1, 1000)}, [] { return model.num_polygons; }, 4000,
        {sobj(1, 3000), sobj(1, 1001)}, "Polycount > MAX_POLY... ouch", 3);
    limit(
        {sobj(with_polygons(1, {std::vector<uint32_t>(25, 0)}))},
        [] { return model.polygons[0].num_points; }, 25,
        {sobj(with_polygons(1, {std::vector<uint32_t>(26, 0)}))}, "points > 25... ouch", 2);
    limit(
        Chunks(60, sobj(1)), [] { return model.num_subobjects; }, 60, Chunks(61, sobj(1)),
        "SOBJ > MAX_SOBJ... ouch", 7);

    std::vector<OofPosKey> pos(7500, OofPosKey{14999, {}});
    std::vector<OofRotKey> rot(7500, OofRotKey{14999, {}, 1});
    limit(
        {sobj(0), sobj(0), oof_pani({pos, pos}), oof_rani({rot, rot})},
        [] { return model.pos_first_key[1] + model.rot_first_key[1]; }, 15000,
        {sobj(0), sobj(0), oof_pani({pos, std::vector(7501, pos[0])})},
        "pani: number keys > MAX_ANI... ouch", 7);
    limit({}, nullptr, 0, {sobj(0), sobj(0), oof_rani({rot, std::vector(7501, rot[0])})},
          "rani: number keys > MAX_ANI... ouch", 7);
    limit(
        {sobj(0), oof_pani({{{14999, {}}}})}, [] { return model.used_frames[0]; }, 14999,
        {sobj(0), oof_pani({{{15000, {}}}})}, "pani: frame > MAX_ANI... ouch", 7);
    limit({}, nullptr, 0, {sobj(0), oof_rani({{{0xFFFFFFFF, {}, 0}}})},
          "rani: frame > MAX_ANI... ouch", 7);
}

// Limits of fixed-size fields and tables that the file format leaves unchecked.
TEST_F(OofLimitTest, UncheckedFieldsAreRefusedBeforeTheyOverrunATable) {
    std::string s49(49, 'z'), s50(50, 'z');
    limit(
        {named(s49, s49)},
        [] { return uint32_t(strlen(model.sobj_name[0]) * 100 + strlen(model.sobj_props[0])); },
        4949, {named(s50, "")}, "SOBJ name > 49 chars... ouch", 7);
    limit({}, nullptr, 0, {named("", s50)}, "SOBJ props > 49 chars... ouch", 7);
    limit(
        {oof_spcl({{s49, s49, {}, 0}})},
        [] {
            return uint32_t(strlen(model.special_points.name[0]) * 100 +
                            strlen(model.special_points.properties[0]));
        },
        4949, {oof_spcl({{s50, "", {}, 0}})}, "SPCL name > 49 chars... ouch", 7);
    limit({}, nullptr, 0, {oof_spcl({{"", s50, {}, 0}})}, "SPCL props > 49 chars... ouch", 7);

    limit(
        {textured(34)}, [] { return uint32_t(model.textures[34].referenced); }, 1, {textured(35)},
        "texture > MAX_TEXTURE... ouch", 7);

    // Corners past the subobject's own vertices but inside the table are kept as stored; the
    // sum wraps as a u32, so 0xFFFFFFFF after 8 vertices is vertex 7.
    Chunks corners_in = {sobj(8), sobj(with_polygons(3, {{0, 5, 3991}, {0xFFFFFFFF}}))};
    limit(
        corners_in,
        [] { return model.polygons[0].points[1] * 10000 + model.polygons[0].points[2]; },
        13 * 10000 + 3999, {sobj(8), sobj(with_polygons(3, {{0, 3992}}))},
        "point index > MAX_VECT... ouch", 7);
    limit(
        corners_in, [] { return model.polygons[1].points[0]; }, 7,
        {sobj(with_polygons(8, {{0xFFFFFFFF}}))}, "point index > MAX_VECT... ouch", 7);

    // A parent must come before its child; -2 and the largest value are no index either.
    OofSubobject root = with_polygons(0), child = root, bad = root;
    child.parent = 0;
    for (int32_t parent : {0, 1, 2, -2, 0x7FFFFFFF}) {
        bad.parent = parent;
        limit(
            {sobj(root), sobj(child)}, [] { return uint32_t(model.sobj_parent[1]); }, 0,
            parent == 0 ? Chunks{sobj(bad)} : Chunks{sobj(root), sobj(bad)},
            "SOBJ parent >= SOBJ... ouch", 7);
    }
}

} // namespace
