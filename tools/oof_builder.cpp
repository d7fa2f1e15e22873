// Polymodel image builder: every field written explicitly, in file order.
#include "tools/oof_builder.h"

#include <algorithm>
#include <cmath>

#include "state/byte_writer.h"

namespace {

void write_string(ByteWriter& out, const std::string& text) {
    out.u32(uint32_t(text.size()));
    out.text(text);
}

void write_polygon(ByteWriter& out, const OofPolygon& poly, uint32_t version) {
    out.vec3(poly.normal);
    out.u32(uint32_t(poly.corners.size()));
    out.u32(poly.n_txtr);
    if (poly.n_txtr == 0) {
        out.u8(poly.red);
        out.u8(poly.green);
        out.u8(poly.blue);
    } else {
        out.u32(poly.texture);
    }
    for (const OofCorner& c : poly.corners) {
        out.u32(c.index);
        out.f32(c.u);
        out.f32(c.v);
    }
    if (version != 1907) {
        out.f32(poly.span_xz);
        out.f32(poly.span_yz);
    }
}

template <class Key, class WriteKey>
OofChunk key_chunk(const char* tag, const std::vector<std::vector<Key>>& blocks, WriteKey write) {
    ByteWriter out;
    for (const auto& block : blocks) {
        out.u32(uint32_t(block.size()));
        uint32_t lo = block.empty() ? 0 : block[0].frame, hi = lo;
        for (const Key& key : block) {
            lo = std::min(lo, key.frame);
            hi = std::max(hi, key.frame);
        }
        out.u32(lo);
        out.u32(hi);
        for (const Key& key : block) {
            out.u32(key.frame);
            write(out, key);
        }
    }
    return {tag, out.take(), std::nullopt};
}

} // namespace

std::vector<uint8_t> build_oof(uint32_t version, const std::vector<OofChunk>& chunks,
                               const std::string& magic) {
    ByteWriter out;
    out.text(magic);
    out.u32(version);
    for (const OofChunk& chunk : chunks) {
        out.text(chunk.tag);
        out.u32(chunk.stated_length.value_or(uint32_t(chunk.data.size())));
        out.bytes(chunk.data.data(), chunk.data.size());
    }
    return out.take();
}

OofChunk oof_ohdr(uint32_t subobjects, float radius, Vec3 lo, Vec3 hi) {
    ByteWriter out;
    out.u32(subobjects);
    out.f32(radius);
    out.vec3(lo);
    out.vec3(hi);
    out.u32(0);
    return {"OHDR", out.take(), std::nullopt};
}

OofChunk oof_sobj(const OofSubobject& sobj, uint32_t version) {
    ByteWriter out;
    out.u32(sobj.number);
    out.i32(sobj.parent);
    for (int i = 0; i < 7; ++i)
        out.f32(sobj.ignored_fill);
    out.vec3(sobj.offset);
    if (sobj.computed) {
        out.f32(sobj.computed->radius);
        out.u32(0xFFFFFFFF);
        out.u32(0xFFFFFFFF);
        out.vec3(sobj.computed->centre);
    } else {
        for (int i = 0; i < 6; ++i)
            out.f32(sobj.ignored_fill);
    }
    write_string(out, sobj.name);
    write_string(out, sobj.props);
    if (sobj.computed) {
        out.u32(sobj.computed->animated ? 1 : 0xFFFFFFFF);
        out.u32(sobj.computed->animated ? 2 : 0xFFFFFFFF);
        out.u32(0);
    } else {
        for (int i = 0; i < 3; ++i)
            out.f32(sobj.ignored_fill);
    }
    out.u32(uint32_t(sobj.positions.size()));
    for (Vec3 p : sobj.positions)
        out.vec3(p);
    for (size_t i = 0; i < sobj.positions.size(); ++i)
        out.vec3(i < sobj.normals.size() ? sobj.normals[i] : Vec3{});
    if (version == 2300)
        for (size_t i = 0; i < sobj.positions.size(); ++i)
            out.f32(i < sobj.alphas.size() ? sobj.alphas[i] : 0.0f);
    out.u32(uint32_t(sobj.polygons.size()));
    for (const OofPolygon& poly : sobj.polygons)
        write_polygon(out, poly, version);
    return {"SOBJ", out.take(), std::nullopt};
}

OofPolygon oof_polygon_of(const Polygon& p, const std::vector<uint32_t>& corners, float span_xz,
                          float span_yz) {
    OofPolygon w{p.normal,  p.n_txtr, p.color.red, p.color.green, p.color.blue,
                 p.texture, {},       span_xz,     span_yz};
    for (size_t k = 0; k < corners.size(); ++k)
        w.corners.push_back({corners[k], p.u[k], p.v[k]});
    return w;
}

OofSubobject oof_subobject(uint32_t vertices, std::vector<std::vector<uint32_t>> polygons,
                           int32_t parent) {
    OofSubobject sobj;
    sobj.parent = parent;
    for (uint32_t i = 0; i < vertices; ++i)
        sobj.positions.push_back({float(i), float(i) + 0.5f, -float(i)});
    for (const auto& corners : polygons) {
        sobj.polygons.emplace_back();
        for (uint32_t c : corners)
            sobj.polygons.back().corners.push_back({c, 0, 0});
    }
    return sobj;
}

OofChunk oof_sobj(uint32_t vertices, uint32_t polygons) {
    return oof_sobj(oof_subobject(vertices, std::vector(polygons, std::vector<uint32_t>{0})));
}

OofChunk oof_txtr(const std::vector<std::string>& names) {
    ByteWriter out;
    out.u32(uint32_t(names.size()));
    for (const std::string& name : names)
        write_string(out, name);
    return {"TXTR", out.take(), std::nullopt};
}

OofChunk oof_points(const std::string& tag, const std::vector<OofPoint>& points) {
    ByteWriter out;
    out.u32(uint32_t(points.size()));
    for (const OofPoint& p : points) {
        out.u32(p.submodel);
        out.vec3(p.location);
        out.vec3(p.direction);
    }
    return {tag, out.take(), std::nullopt};
}

OofChunk oof_spcl(const std::vector<OofSpecial>& points) {
    ByteWriter out;
    out.u32(uint32_t(points.size()));
    for (const OofSpecial& p : points) {
        write_string(out, p.name);
        write_string(out, p.properties);
        out.vec3(p.location);
        out.f32(p.radius);
    }
    return {"SPCL", out.take(), std::nullopt};
}

OofChunk oof_wbat(const std::vector<OofBattery>& batteries) {
    ByteWriter out;
    out.u32(uint32_t(batteries.size()));
    for (const OofBattery& b : batteries) {
        out.u32(uint32_t(b.guns.size()));
        for (uint32_t g : b.guns)
            out.u32(g);
        out.u32(uint32_t(b.turrets.size()));
        for (uint32_t t : b.turrets)
            out.u32(t);
    }
    return {"WBAT", out.take(), std::nullopt};
}

OofChunk oof_pinf(const std::string& text) {
    return {"PINF", std::vector<uint8_t>(text.begin(), text.end()), std::nullopt};
}

OofChunk oof_pani(const std::vector<std::vector<OofPosKey>>& blocks) {
    return key_chunk("PANI", blocks,
                     [](ByteWriter& out, const OofPosKey& key) { out.vec3(key.position); });
}

OofChunk oof_rani(const std::vector<std::vector<OofRotKey>>& blocks) {
    return key_chunk("RANI", blocks, [](ByteWriter& out, const OofRotKey& key) {
        out.vec3(key.axis);
        out.u32(key.angle);
    });
}

namespace {

// With `rewritten`, the version-2300 chunks the writer makes of the store read from a `version`
// file: the computed fields in place of the fill, and alpha 1 where the file held none.
std::vector<OofChunk> every_chunk_kind(uint32_t version, bool rewritten) {
    OofSubobject body;
    body.name = std::string("body") + '\0';
    body.props = std::string("") + '\0';
    body.positions = {{-1, -2, -3}, {4, -2, -3}, {4, 5, -3}, {-1, 5, 6}};
    body.normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}};
    body.alphas = {0.25f, 0.5f, 0.75f, 1.0f};
    OofPolygon quad;
    quad.normal = {0, 0.6f, 0.8f};
    quad.n_txtr = 1;
    quad.texture = 1;
    quad.corners = {{0, 0.1f, 0.2f}, {1, 0.3f, 0.4f}, {2, 0.5f, 0.6f}, {3, 0.7f, 0.8f}};
    OofPolygon flat;
    flat.normal = {0.8f, 0, -0.6f};
    flat.red = 10;
    flat.green = 20;
    flat.blue = 30;
    flat.corners = {{3, 1, 2}, {2, 3, 4}, {0, 5, 6}};
    body.polygons = {quad, flat};
    body.ignored_fill = 123.5f;

    OofSubobject turret;
    turret.number = 1;
    turret.parent = 0;
    turret.offset = {1, 2, 3};
    turret.name = std::string("turret") + '\0';
    turret.props = std::string("$rotate=5") + '\0';
    turret.positions = {{0, 0, 0}, {3, 0, 4}, {0, 5, 0}};
    turret.normals = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    turret.alphas = {0.1f, 0.2f, 0.3f};
    OofPolygon tri;
    tri.normal = {0, 0, -1};
    tri.red = 200;
    tri.green = 100;
    tri.blue = 50;
    tri.corners = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}};
    turret.polygons = {tri};
    turret.ignored_fill = -7.25f;
    OofChunk ohdr = oof_ohdr(2, 9, {-1, -2, -3}, {4, 7, 6});
    if (rewritten) {
        ohdr = oof_ohdr(2, std::sqrt(69.0f), {-1, -2, -3}, {4, 7, 7});
        body.computed = {std::sqrt(62.0f), {1.5f, 1.5f, 1.5f}, true};
        turret.computed = {5, {1.5f, 2.5f, 2}, true};
        body.ignored_fill = turret.ignored_fill = 0;
        for (OofPolygon& p : body.polygons) {
            p.span_xz = std::sqrt(106.0f);
            p.span_yz = std::sqrt(130.0f);
        }
        turret.polygons[0].span_xz = 5;
        turret.polygons[0].span_yz = std::sqrt(41.0f);
        if (version != 2300)
            body.alphas = turret.alphas = {1, 1, 1, 1};
        version = 2300;
    }

    return {
        oof_txtr({std::string("hull") + '\0', std::string("glass") + '\0'}),
        ohdr,
        oof_sobj(body, version),
        oof_sobj(turret, version),
        oof_spcl({{std::string("engine") + '\0', std::string("$thrust") + '\0', {1, 2, 3}, 1.5f},
                  {std::string("light") + '\0', std::string("") + '\0', {-4, -5, -6}, 2.5f}}),
        oof_points("GPNT", {{1, {1, 2, 3}, {0, 0, 1}}, {0, {4, 5, 6}, {0, 1, 0}}}),
        oof_points("GRND", {{0, {-1, -2, -3}, {0, -1, 0}}}),
        oof_points("ATCH", {{1, {7, 8, 9}, {1, 0, 0}}}),
        oof_points("NATH", {{0, {-7, -8, -9}, {-1, 0, 0}}, {1, {0.5f, 0.25f, 0.125f}, {0, 0, -1}}}),
        oof_wbat({{{0, 1}, {1}}, {{1}, {}}}),
        oof_pani({{{5, {1, 2, 3}}, {2, {4, 5, 6}}}, {{5, {7, 8, 9}}}}),
        oof_rani({{}, {{7, {0, 1, 0}, 16380}, {9, {1, 0, 0}, 32760}}}),
        oof_pinf("mass=12\nturn=3"),
    };
}

} // namespace

std::vector<OofChunk> oof_every_chunk_kind(uint32_t version) {
    return every_chunk_kind(version, false);
}

std::vector<uint8_t> oof_every_chunk_kind_rewritten(uint32_t read_version) {
    return build_oof(2300, every_chunk_kind(read_version, true));
}

std::vector<uint8_t> oof_maximal_model() {
    constexpr uint32_t kSubobjects = 12, kVertices = 4000, kKeys = 15000;
    std::vector<OofChunk> chunks = {
        oof_txtr({std::string("hull") + '\0', std::string("glass") + '\0'})};
    std::vector<std::vector<OofPosKey>> pos(kSubobjects);
    std::vector<std::vector<OofRotKey>> rot(kSubobjects);
    for (uint32_t s = 0; s < kSubobjects; ++s) {
        // 4000 over 12: the first four subobjects get 334 vertices, the others 333.
        uint32_t nv = kVertices / kSubobjects + (s < kVertices % kSubobjects ? 1 : 0);
        OofSubobject sobj;
        sobj.number = s;
        sobj.parent = int32_t(s) - 1;
        sobj.offset = {float(s), 0.5f, -float(s)};
        sobj.name = "part" + std::to_string(s) + '\0';
        sobj.props = std::string(s == 3 ? "$rotate=4" : "") + '\0';
        for (uint32_t i = 0; i < nv; ++i) {
            float a = float(i) * 0.1f;
            sobj.positions.push_back({a, float(i % 7), -a * 0.5f});
            sobj.normals.push_back({0, 1, 0});
            sobj.alphas.push_back(1);
        }
        for (uint32_t i = 0; i < nv; ++i) {
            OofPolygon quad;
            quad.normal = {0, 0, 1};
            quad.n_txtr = i % 2;
            quad.texture = i % 2;
            quad.red = uint8_t(i);
            for (uint32_t c = 0; c < 4; ++c)
                quad.corners.push_back({(i + c) % nv, float(c) * 0.25f, 1 - float(c) * 0.25f});
            sobj.polygons.push_back(quad);
        }
        chunks.push_back(oof_sobj(sobj, 2300));
    }
    for (uint32_t k = 0; k < kKeys; ++k) {
        uint32_t s = k % kSubobjects;
        pos[s].push_back({k, {float(k), 1, 2}});
        rot[s].push_back({k, {0, 1, 0}, k * 7});
    }
    chunks.push_back(oof_pani(pos));
    chunks.push_back(oof_rani(rot));
    chunks.push_back(oof_pinf("maximal"));
    return build_oof(2300, chunks);
}
