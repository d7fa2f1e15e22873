// load_oof refusals: every fatal message with its caption and exit status, each limit at its
// value (loads) and one past it (stops), and the limits the file format leaves unchecked.
#include <cstring>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/byte_writer.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/oof_builder.h"

namespace {

class OofLimitTest : public CoreTest {
  protected:
    void load(const std::vector<uint8_t>& bytes) {
        std::strcpy(view.oof_path, dir.write("model.oof", bytes).c_str());
        load_oof(0);
    }
    // Loads and expects a stop with this message as the last box, caption "ERROR".
    void expect_stop(const std::vector<uint8_t>& bytes, const std::string& text, int status) {
        sink.boxes.clear();
        view.model_loaded = 0;
        EXPECT_EQ(exit_status_of([&] { load(bytes); }), status) << text;
        EXPECT_EQ(last_text(), text);
        EXPECT_EQ(last_caption(), "ERROR");
        EXPECT_EQ(view.model_loaded, 0);
    }
    void expect_loads(const std::vector<uint8_t>& bytes) {
        sink.boxes.clear();
        view.model_loaded = 0;
        load(bytes);
        EXPECT_TRUE(sink.boxes.empty()) << last_text();
        EXPECT_EQ(view.model_loaded, 1);
    }
};

std::vector<uint8_t> oof(std::vector<OofChunk> chunks) {
    return build_oof(2300, chunks);
}

OofSubobject vertices_only(uint32_t count) {
    OofSubobject sobj;
    sobj.positions.assign(count, Vec3{1, 2, 3});
    return sobj;
}

OofPolygon polygon_of(std::vector<uint32_t> corners) {
    OofPolygon poly;
    for (uint32_t c : corners)
        poly.corners.push_back({c, 0, 0});
    return poly;
}

OofChunk sobj_with_polygons(uint32_t vertices, uint32_t polygons) {
    OofSubobject sobj = vertices_only(vertices);
    sobj.polygons.assign(polygons, polygon_of({0}));
    return oof_sobj(sobj, 2300);
}

TEST_F(OofLimitTest, FilesThatCannotBeOpenedOrAreNoPolymodel) {
    std::strcpy(view.oof_path, dir.path("missing.oof").c_str());
    EXPECT_EQ(exit_status_of([] { load_oof(0); }), -2);
    EXPECT_EQ(last_text(), "Can't open the oof file");
    EXPECT_EQ(last_caption(), "ERROR");

    hog.num_entries = 1;
    hog.num_oof = 1;
    std::strcpy(hog.hog_path, dir.path("missing.hog").c_str());
    EXPECT_EQ(exit_status_of([] { load_oof(0); }), -2);
    EXPECT_EQ(last_text(), "Oof: Can't open the hog file");
    hog.num_entries = 0;

    expect_stop(build_oof(2300, {}, "PSPX"), "oof header is wrong", 0);
    expect_stop({'P', 'S', 'P'}, "oof header is wrong", 0);
    expect_stop({}, "oof header is wrong", 0);
    expect_stop(oof({{"SOBX", {}, std::nullopt}}), "Oof data is bad, unknown datatype... ouch", 5);
    expect_stop(oof({{"sobj", {}, std::nullopt}}), "Oof data is bad, unknown datatype... ouch", 5);
}

TEST_F(OofLimitTest, PointListsHoldTenRecords) {
    std::vector<OofPoint> ten(10, OofPoint{1, {}, {}}), eleven(11, OofPoint{1, {}, {}});
    for (const char* tag : {"GPNT", "GRND", "ATCH", "NATH"}) {
        SCOPED_TRACE(tag);
        expect_loads(oof({oof_points(tag, ten)}));
        EXPECT_EQ(model.num_gun_points + model.num_ground_points + model.num_attach_points +
                      model.num_nath_points,
                  10u);
        expect_stop(oof({oof_points(tag, eleven)}), std::string(tag) + " > MAX_PNT... ouch", 7);
    }

    std::vector<OofSpecial> specials(10, OofSpecial{"n", "p", {}, 1});
    expect_loads(oof({oof_spcl(specials)}));
    specials.resize(11, specials[0]);
    expect_stop(oof({oof_spcl(specials)}), "SPCL > MAX_PNT... ouch", 7);
}

TEST_F(OofLimitTest, BatteriesHoldTenBatteriesOfTenGunsAndTurrets) {
    std::vector<uint32_t> ten(10, 1), eleven(11, 1);
    expect_loads(oof({oof_wbat(std::vector<OofBattery>(10, OofBattery{ten, ten}))}));
    EXPECT_EQ(model.batteries.num_turrets[9], 10u);
    expect_stop(oof({oof_wbat(std::vector<OofBattery>(11))}), "WBAT > MAX_PNT... ouch", 7);
    expect_stop(oof({oof_wbat({{ten, ten}, {eleven, ten}})}), "WBATnumgun > MAX_PNT... ouch", 7);
    expect_stop(oof({oof_wbat({{ten, eleven}})}), "WBATnumeye > MAX_PNT... ouch", 7);
}

TEST_F(OofLimitTest, PinfHoldsAThousandCharacters) {
    std::string text(1000, 'q');
    expect_loads(oof({oof_pinf(text)}));
    EXPECT_EQ(std::string(model.pinf_text), text);
    expect_stop(oof({oof_pinf(text + "q")}), "PINF length > MAX_PINF Chars... ouch", 7);
}

TEST_F(OofLimitTest, TextureListHoldsThirtyFiveNamesOfThirtySixBytes) {
    expect_loads(oof({oof_txtr(std::vector<std::string>(35, std::string(36, 'n')))}));
    EXPECT_EQ(model.num_textures, 35u);
    expect_stop(oof({oof_txtr(std::vector<std::string>(36, "n"))}), "total_texture > MAX_TEXTURE",
                0);
    expect_stop(oof({oof_txtr({"a", std::string(37, 'n')})}), "charcount > 36", 0);
}

TEST_F(OofLimitTest, TheModelHoldsFourThousandVertices) {
    expect_loads(oof({oof_sobj(vertices_only(2000), 2300), oof_sobj(vertices_only(2000), 2300)}));
    EXPECT_EQ(model.num_vertices, 4000u);
    expect_stop(oof({oof_sobj(vertices_only(2000), 2300), oof_sobj(vertices_only(2001), 2300)}),
                "Vcount > MAX_VECT... ouch", 7);
    EXPECT_LE(model.num_vertices, 4000u);
}

TEST_F(OofLimitTest, TheModelHoldsFourThousandPolygons) {
    expect_loads(oof({sobj_with_polygons(1, 3000), sobj_with_polygons(1, 1000)}));
    EXPECT_EQ(model.num_polygons, 4000u);
    EXPECT_EQ(model.polygons[3999].points[0], 1u);
    expect_stop(oof({sobj_with_polygons(1, 3000), sobj_with_polygons(1, 1001)}),
                "Polycount > MAX_POLY... ouch", 3);
    EXPECT_LE(model.num_polygons, 4000u);
}

TEST_F(OofLimitTest, APolygonHasAtMostTwentyFiveCorners) {
    OofSubobject sobj = vertices_only(1);
    sobj.polygons = {polygon_of(std::vector<uint32_t>(25, 0))};
    expect_loads(oof({oof_sobj(sobj, 2300)}));
    EXPECT_EQ(model.polygons[0].num_points, 25u);
    sobj.polygons = {polygon_of(std::vector<uint32_t>(26, 0))};
    expect_stop(oof({oof_sobj(sobj, 2300)}), "points > 25... ouch", 2);
}

TEST_F(OofLimitTest, KeysOfEachKindNumberAtMostFifteenThousand) {
    std::vector<OofPosKey> pos(7500, OofPosKey{14999, {}});
    std::vector<OofRotKey> rot(7500, OofRotKey{14999, {}, 1});
    auto two = [] {
        return std::vector<OofChunk>{sobj_with_polygons(0, 0), sobj_with_polygons(0, 0)};
    };

    auto chunks = two();
    chunks.push_back(oof_pani({pos, pos}));
    chunks.push_back(oof_rani({rot, rot}));
    expect_loads(oof(chunks));
    EXPECT_EQ(model.pos_first_key[1], 7500u);
    EXPECT_EQ(model.used_frames[0], 14999u);

    chunks = two();
    chunks.push_back(oof_pani({pos, std::vector<OofPosKey>(7501, pos[0])}));
    expect_stop(oof(chunks), "pani: number keys > MAX_ANI... ouch", 7);
    chunks = two();
    chunks.push_back(oof_rani({rot, std::vector<OofRotKey>(7501, rot[0])}));
    expect_stop(oof(chunks), "rani: number keys > MAX_ANI... ouch", 7);
}

TEST_F(OofLimitTest, FrameNumbersStayBelowFifteenThousand) {
    expect_stop(oof({sobj_with_polygons(0, 0), oof_pani({{{15000, {}}}})}),
                "pani: frame > MAX_ANI... ouch", 7);
    expect_stop(oof({sobj_with_polygons(0, 0), oof_rani({{{0xFFFFFFFF, {}, 0}}})}),
                "rani: frame > MAX_ANI... ouch", 7);
}

TEST_F(OofLimitTest, AtMostSixtySubobjects) {
    std::vector<OofChunk> chunks(60, sobj_with_polygons(1, 0));
    expect_loads(oof(chunks));
    EXPECT_EQ(model.num_subobjects, 60u);
    chunks.push_back(chunks[0]);
    expect_stop(oof(chunks), "SOBJ > MAX_SOBJ... ouch", 7);
}

TEST_F(OofLimitTest, StringsLeaveRoomForTheirZeroByte) {
    std::string longest(49, 'z'), too_long(50, 'z');
    OofSubobject sobj;
    sobj.name = longest;
    sobj.props = longest;
    expect_loads(oof({oof_sobj(sobj, 2300)}));
    EXPECT_EQ(std::string(model.sobj_name[0]), longest);
    EXPECT_EQ(std::string(model.sobj_props[0]), longest);
    sobj.name = too_long;
    expect_stop(oof({oof_sobj(sobj, 2300)}), "SOBJ name > 49 chars... ouch", 7);
    sobj.name = "";
    sobj.props = too_long;
    expect_stop(oof({oof_sobj(sobj, 2300)}), "SOBJ props > 49 chars... ouch", 7);

    expect_loads(oof({oof_spcl({{longest, longest, {}, 0}})}));
    EXPECT_EQ(std::string(model.special_points.properties[0]), longest);
    expect_stop(oof({oof_spcl({{too_long, "", {}, 0}})}), "SPCL name > 49 chars... ouch", 7);
    expect_stop(oof({oof_spcl({{"", too_long, {}, 0}})}), "SPCL props > 49 chars... ouch", 7);
}

TEST_F(OofLimitTest, TextureIndexAddressesTheThirtyFiveSlots) {
    OofSubobject sobj = vertices_only(1);
    OofPolygon poly = polygon_of({0});
    poly.n_txtr = 1;
    poly.texture = 34;
    sobj.polygons = {poly};
    expect_loads(oof({oof_sobj(sobj, 2300)}));
    EXPECT_EQ(model.textures[34].referenced, 1);
    sobj.polygons[0].texture = 35;
    expect_stop(oof({oof_sobj(sobj, 2300)}), "texture > MAX_TEXTURE... ouch", 7);
}

TEST_F(OofLimitTest, CornerIndicesStayInsideTheVertexTable) {
    OofSubobject first = vertices_only(8), second = vertices_only(3);
    // Past the subobject's own three vertices but inside the table: kept as stored.
    second.polygons = {polygon_of({0, 5, 3991})};
    expect_loads(oof({oof_sobj(first, 2300), oof_sobj(second, 2300)}));
    EXPECT_EQ(model.polygons[0].points[1], 13u);
    EXPECT_EQ(model.polygons[0].points[2], 3999u);
    // The sum wraps as a u32: 0xFFFFFFFF after 8 vertices is vertex 7 of the first subobject.
    second.polygons = {polygon_of({0xFFFFFFFF})};
    expect_loads(oof({oof_sobj(first, 2300), oof_sobj(second, 2300)}));
    EXPECT_EQ(model.polygons[0].points[0], 7u);

    second.polygons = {polygon_of({0, 3992})};
    expect_stop(oof({oof_sobj(first, 2300), oof_sobj(second, 2300)}),
                "point index > MAX_VECT... ouch", 7);
    first.polygons = {polygon_of({0xFFFFFFFF})};
    expect_stop(oof({oof_sobj(first, 2300)}), "point index > MAX_VECT... ouch", 7);
}

TEST_F(OofLimitTest, ParentsComeBeforeTheirChildren) {
    OofSubobject root = vertices_only(0), child = vertices_only(0);
    child.parent = 0;
    expect_loads(oof({oof_sobj(root, 2300), oof_sobj(child, 2300)}));
    for (int32_t parent : {1, 2, -2, 0x7FFFFFFF}) {
        SCOPED_TRACE(parent);
        child.parent = parent;
        expect_stop(oof({oof_sobj(root, 2300), oof_sobj(child, 2300)}),
                    "SOBJ parent >= SOBJ... ouch", 7);
    }
    root.parent = 0;
    expect_stop(oof({oof_sobj(root, 2300)}), "SOBJ parent >= SOBJ... ouch", 7);
}

TEST_F(OofLimitTest, ArchivePositionOutsideThePolymodelList) {
    std::vector<uint8_t> bytes = oof({});
    std::strcpy(hog.hog_path, dir.write("one.hog", bytes).c_str());
    hog.num_entries = 1;
    hog.num_oof = 1;
    hog.entries[0] = {"a.oof", uint32_t(bytes.size()), 0};
    load_oof(0);
    EXPECT_EQ(view.model_loaded, 1);
    EXPECT_EQ(exit_status_of([] { load_oof(1); }), 7);
    EXPECT_EQ(last_text(), "Oof: hog entry > num_oof... ouch");
}

} // namespace
