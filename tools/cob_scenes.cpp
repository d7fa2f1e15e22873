// trueSpace scenes for the importer tests, built chunk by chunk.
#include "tools/cob_scenes.h"

using Bytes = std::vector<uint8_t>;

Bytes cob_materials_after_their_polhs() {
    CobBuilder cob;
    cob.mat1({0, 0, 1, 0, {}});
    cob.polh(cob_triangle_faces({0}));
    cob.mat1({0, 1, 0, 0, {}});
    cob.polh(cob_triangle_faces({0}));
    cob.polh(cob_triangle_faces({0}));
    cob.mat1({0, 0, 0, 1, {}});
    return cob_ended(cob);
}

Bytes cob_unknown_chunks_skipped() {
    CobBuildPolh trailer = cob_triangle_faces({0});
    trailer.trailer = {'G', 'r', 'o', 'u', 1, 2, 3, 4, 5, 6, 7, 8, 9};
    CobBuilder cob;
    cob.chunk("BitM", Bytes(300, 'P'));
    cob.chunk("Unit", {'M', 'a', 't', '1'});
    cob.polh(trailer);
    cob.chunk("Chan", Bytes(7, 0xFF));
    cob.mat1({0, 0, 0, 1, {}});
    return cob_ended(cob);
}

Bytes cob_material_cut_short() {
    CobBuildPolh polh = cob_triangle_faces({0});
    Bytes cut = cob_scene({polh}, {{0, 0, 1, 0, {}}});
    cut.resize(cut.size() - 41 - cob_polh_data(polh).size()); // the PolH after END, END, a byte
    return cut;
}

Bytes cob_polh_stated_too_long() {
    CobBuilder cob;
    cob.polh(cob_triangle_faces({0}));
    cob.header("PolH", 5, 0, 0xFFFFFFF0u);
    return cob_ended(cob);
}

Bytes cob_short_material_record() {
    CobBuilder cob;
    cob.polh(cob_triangle_faces({3}));
    cob.chunk("Mat1", {3, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0});
    return cob_ended(cob);
}

Bytes cob_map_list() {
    Bytes maps = cob_environment_map("sky.bmp");
    for (const Bytes& more : {cob_bump_map(), Bytes{'x', 'y'}, cob_texture_map("c:/art/hull.tga"),
                              cob_texture_map("ignored.bmp")})
        maps.insert(maps.end(), more.begin(), more.end());
    return maps;
}

std::vector<CobBuildMaterial> cob_texture_materials(const std::vector<std::string>& files) {
    std::vector<CobBuildMaterial> materials;
    for (const std::string& file : files)
        materials.push_back({uint16_t(materials.size()), 1, 1, 1, cob_texture_map(file)});
    return materials;
}

Bytes cob_texture_files(uint32_t n) {
    std::vector<std::string> files;
    for (uint32_t k = 0; k < n; ++k)
        files.push_back("t" + std::to_string(k));
    return cob_scene({cob_triangle_faces({0})}, cob_texture_materials(files));
}

Bytes cob_group_tree(const std::vector<Vec3>& written) {
    auto face = [&](int k) {
        return cob_single_face({written.begin() + 3 * k, written.begin() + 3 * k + 3});
    };
    CobBuilder cob;
    uint32_t root = cob.grou("Root", {1, 2, 3});
    cob.polh(face(0), root);
    uint32_t arm = cob.grou("Arm", {10, 20, 30}, root);
    cob.polh(face(1), arm);
    cob.polh(face(2), cob.grou("Hand", {12, 24, 36}, arm));
    cob.grou("", {-1, -2, -4}, 99999);
    cob.polh(face(3));
    cob.grou(std::string(29, 'a') + "bcdef", {0, 0, 0});
    cob.polh(cob_triangle_faces({0}));
    Bytes record = {'t', ':', 2, 0xFF, 0xFF, 'l', 'o', 'n', 'g'}; // stated longer than the chunk
    record.insert(record.begin(), 37, 0);                         // material 0, zeros
    cob.chunk("Mat1", record);
    cob.chunk("Grou", {0, 0, 0xFF, 0xFF, 'a', 'b'});
    cob.polh(cob_triangle_faces({0}));
    return cob_ended(cob);
}

Bytes cob_empty_polhs(uint32_t n) {
    CobBuilder cob;
    for (uint32_t k = 0; k < n; ++k)
        cob.chunk("PolH", {});
    return cob_ended(cob);
}

Bytes cob_materials(uint32_t n) {
    CobBuilder cob;
    cob.polh(cob_triangle_faces({0}));
    for (uint32_t k = 0; k < n; ++k)
        cob.mat1({uint16_t(k), 1, 0, 0, {}});
    return cob_ended(cob);
}

Bytes cob_group_chain(uint32_t n) {
    CobBuilder cob;
    uint32_t parent = 0;
    for (uint32_t g = 0; g < n; ++g)
        parent = cob.grou("g" + std::to_string(g), {float(g), 0, 0}, parent);
    cob.polh(cob_triangle_faces({0}), parent);
    return cob_ended(cob);
}

Bytes cob_group_after_polh(bool grouped) {
    CobBuilder cob;
    uint32_t root = grouped ? cob.grou("root", {0, 0, 0}) : 0;
    cob.polh(cob_triangle_faces({0}), root);
    cob.grou(grouped ? "child" : "late", {0, 0, 0}, root);
    return cob_ended(cob);
}

CobBuildPolh cob_same_faces(uint32_t n) {
    CobBuildPolh polh = cob_triangle_faces({});
    polh.faces.resize(n, {{{0, 0}, {1, 0}, {2, 0}}});
    return polh;
}

Bytes cob_polhs_of(const std::vector<Bytes>& data) {
    CobBuilder cob;
    cob.polh(cob_triangle_faces({0}));
    for (const Bytes& polh : data)
        cob.chunk("PolH", polh);
    return cob_ended(cob);
}
