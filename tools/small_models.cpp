// The small model files of the command-line and window tests.
#include "tools/small_models.h"

#include <string>

#include "formats/oof_writer.h"
#include "state/polymodel.h"
#include "tools/cob_builder.h"
#include "tools/oof_builder.h"
#include "tools/sample_shapes.h"

std::vector<uint8_t> oof_square_model(uint8_t red, uint8_t green, uint8_t blue, bool textured) {
    OofSubobject sobj;
    sobj.name = std::string("quad") + '\0';
    sobj.positions = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}};
    sobj.normals.assign(4, {0, 0, 1});
    sobj.alphas.assign(4, 1);
    OofPolygon quad;
    quad.n_txtr = textured ? 1 : 0;
    quad.red = red;
    quad.green = green;
    quad.blue = blue;
    quad.corners = {{0, 1, 0}, {1, 0, 0}, {2, 0, 1}, {3, 1, 1}};
    sobj.polygons = {quad};
    std::vector<OofChunk> chunks;
    if (textured)
        chunks.push_back(oof_txtr({std::string("paint") + '\0'}));
    chunks.push_back(oof_sobj(sobj, 2300));
    return build_oof(2300, chunks);
}

std::vector<uint8_t> cob_two_group_model(uint32_t unknown_bytes) {
    CobBuilder cob;
    uint32_t body = cob.grou("body", {1, 2, 3});
    cob.polh(cob_single_face({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, 1), body);
    cob.mat1({1, 1, 0.5f, 0, {}});
    uint32_t fin = cob.grou("fin", {0, 5, 0}, body);
    cob.polh(cob_single_face({{0, 0, 0}, {0, 2, 0}, {0, 0, 2}}, 2), fin);
    cob.mat1({2, 0, 0, 0, cob_texture_map("maps\\fin.bmp")});
    if (unknown_bytes > 0)
        cob.chunk("Unkn", std::vector<uint8_t>(unknown_bytes));
    cob.end();
    return cob.bytes();
}

std::vector<uint8_t> oof_panel_model(int subobjects, const std::function<void()>& more) {
    start_sample_model();
    for (int s = 0; s < subobjects; ++s)
        add_sample_panel(add_sample_subobject("square", s - 1, {}), {}, 10, {0, 0, 1},
                         flat(230, 40, 40));
    if (more)
        more();
    std::vector<uint8_t> bytes = export_oof_bytes();
    start_sample_model();
    return bytes;
}

std::vector<uint8_t> oof_three_slot_model() {
    start_sample_model();
    int s = add_sample_subobject("s", -1, {});
    SampleSurface stripes = textured(add_sample_texture("stripes"));
    add_sample_panel(s, {}, 10, {0, 0, 1}, stripes);
    add_sample_polygon(s, {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}}, {0, 0, 1}, stripes);
    model.polygons[model.num_polygons - 1].n_txtr = 3;
    std::vector<uint8_t> bytes = export_oof_bytes();
    start_sample_model();
    return bytes;
}

std::vector<uint8_t> cob_two_sided_square() {
    return cob_scene({cob_single_face({{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}}),
                      cob_single_face({{-10, 10, 0}, {10, 10, 0}, {10, -10, 0}, {-10, -10, 0}})},
                     {{0, 0.9f, 0.2f, 0.1f, {}}});
}
