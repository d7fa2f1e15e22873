// What a frame shows: flat and textured polygons, highlights, transparency, outlines, culling,
// glow, the parent chain and a model at every limit, read back as pixels from the headless
// context; and the same pixels as the former drawing with the texture image in each slot's list.
#include "tests/render/draw_fixture.h"

#include <filesystem>
#include <string>

#include "tools/hog_builder.h"
#include "tools/image_file_builder.h"
#include "tools/texture_builder.h"

namespace {

const Rgb8 ORANGE = {200, 120, 40};
const HeadlessGl::Rgba BLACK = rgb(0, 0, 0);

// Two texels side by side: the left one as given, the right one fully transparent.
std::vector<uint8_t> half_transparent(uint8_t r, uint8_t g, uint8_t b) {
    return {r, g, b, 255, 0, 0, 0, 0};
}

TEST_F(DrawTest, FlatSquareShowsItsLitColourUnlessFlatColorsIsOff) {
    int s = add_subobject(-1, {0, 0, 0});
    add_flat_square(s, {15, 0, 0}, 10, ORANGE);
    add_textured_square(s, {-15, 0, 0}, 10, add_texture_slot("unloaded"));
    draw();
    EXPECT_RGB_NEAR(at_model(15, 0), lit(ORANGE, {0, 0, 1}, {-15, 0, 0}), 2);
    EXPECT_RGB_NEAR(at_model(15, 0), rgb(200, 120, 40), 3);
    EXPECT_RGB_NEAR(at_model(40, 0), BLACK, 0);
    view.flat_colors = 0;
    draw();
    EXPECT_RGB_NEAR(at_model(15, 0), BLACK, 0);
    EXPECT_GT(at_model(-15, 0).r, 150) << "textured polygons stay";
    // The background switches set the clear colour.
    view.clear_green = view.clear_blue = 1.0f;
    draw();
    EXPECT_RGB_NEAR(at_model(40, 0), rgb(0, 255, 255), 0);
}

TEST_F(DrawTest, UnloadedTextureIsLightGreyShadedByTheLight) {
    int s = add_subobject(-1, {0, 0, 0});
    uint32_t slot = add_texture_slot("missing");
    add_textured_square(s, {15, 0, 0}, 10, slot);
    // Facing up, toward the light above the viewer, it is brighter than one facing the viewer.
    const Vec3 up = {0, 0.7071f, 0.7071f};
    add_textured_square(s, {-15, 0, 0}, 10, slot, up);
    draw();
    const Rgb8 grey = {192, 192, 192};
    EXPECT_RGB_NEAR(at_model(15, 0), lit(grey, {0, 0, 1}, {-15, 0, 0}), 2);
    EXPECT_RGB_NEAR(at_model(-15, 0), lit(grey, up, {15, 0, 0}), 2);
    EXPECT_GT(at_model(-15, 0).r, at_model(15, 0).r + 20);
}

TEST_F(DrawTest, HighlightedSubobjectsAndTexturesAreCyan) {
    int plain = add_subobject(-1, {0, 0, 0});
    int marked = add_subobject(-1, {0, 0, 0});
    uint32_t red = loaded_texture(1, 1, {255, 0, 0, 255}, false);
    uint32_t blue = loaded_texture(1, 1, {0, 0, 255, 255}, false);
    add_flat_square(plain, {25, 15, 0}, 8, ORANGE);
    add_textured_square(plain, {0, -15, 0}, 8, red);
    add_textured_square(plain, {-25, -15, 0}, 8, blue);
    add_flat_square(marked, {0, 15, 0}, 8, ORANGE);
    add_textured_square(marked, {-25, 15, 0}, 8, blue);
    view.sobj_highlight[marked] = 1;
    view.texture_highlight[red] = 1;
    draw();
    const Rgb8 cyan = {0, 255, 255};
    EXPECT_RGB_NEAR(at_model(0, 15), lit(cyan, {0, 0, 1}, {0, 15, 0}), 2);
    EXPECT_RGB_NEAR(at_model(-25, 15), lit(cyan, {0, 0, 1}, {25, 15, 0}), 2);
    EXPECT_RGB_NEAR(at_model(25, 15), lit(ORANGE, {0, 0, 1}, {-25, 15, 0}), 2);
    EXPECT_RGB_NEAR(at_model(0, -15), lit(cyan, {0, 0, 1}, {0, -15, 0}), 2);
    // The opaque texture is drawn on white and modulated by the light.
    EXPECT_RGB_NEAR(at_model(-25, -15), lit({0, 0, 255}, {0, 0, 1}, {25, -15, 0}), 2);
}

TEST_F(DrawTest, TexturesFollowTheirCoordinatesAndSlotChanges) {
    int s = add_subobject(-1, {0, 0, 0});
    uint32_t first = loaded_texture(2, 1, {255, 0, 0, 255, 0, 255, 0, 255}, false);
    uint32_t second = loaded_texture(1, 1, {0, 0, 255, 255}, false);
    add_textured_square(s, {0, 15, 0}, 10, first);
    add_textured_square(s, {0, -15, 0}, 10, second);
    add_textured_square(s, {25, -15, 0}, 5, first);
    draw();
    // u runs left to right as seen, so the left half shows the first texel.
    EXPECT_GT(at_model(5, 15).r, 200);
    EXPECT_LT(at_model(5, 15).g, 20);
    EXPECT_GT(at_model(-5, 15).g, 200);
    EXPECT_GT(at_model(0, -15).b, 200);
    EXPECT_GT(at_model(27, -15).r, 200);
}

TEST_F(DrawTest, TexturesFromPngAndJpegFilesShowTheirColours) {
    // 32 x 8 files, left half red, right half green; the JPEG found ignoring case.
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 32 * 8; ++i)
        rgba.insert(rgba.end(),
                    {uint8_t(i % 32 < 16 ? 255 : 0), uint8_t(i % 32 < 16 ? 0 : 255), 0, 255});
    write_whole_file(dir.path("wide.png"), build_image_file(ImageFileFormat::png, 32, 8, rgba));
    write_whole_file(dir.path("Boxy.JPG"), build_image_file(ImageFileFormat::jpg, 32, 8, rgba));
    int s = add_subobject(-1, {0, 0, 0});
    add_textured_square(s, {0, 15, 0}, 10, add_texture_slot("wide"));
    add_textured_square(s, {0, -15, 0}, 10, add_texture_slot("boxy"));
    std::filesystem::path old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.root());
    load_textures();
    std::filesystem::current_path(old_cwd);
    ASSERT_TRUE(model.textures[0].loaded && model.textures[1].loaded);
    EXPECT_STREQ(model.textures[1].loaded_file, "boxy.jpg");
    draw();
    for (float y : {15.0f, -15.0f}) {
        SCOPED_TRACE(y);
        EXPECT_RGB_NEAR(at_model(5, y), lit({255, 0, 0}, {0, 0, 1}, {-5, y, 0}), 8);
        EXPECT_RGB_NEAR(at_model(-5, y), lit({0, 255, 0}, {0, 0, 1}, {5, y, 0}), 8);
    }
}

// The former way of drawing, straight from the batches: each slot's list holds its image, and
// each subobject's list sets every batch's colour and draws it as one polygon from the client
// arrays. Frames drawn from these lists are the reference for the renderer's own.
void compile_reference_lists(const std::vector<GLuint>& image_lists) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, draw_tables.batch_vertices);
    glNormalPointer(GL_FLOAT, 0, draw_tables.batch_normals);
    glTexCoordPointer(2, GL_FLOAT, 0, draw_tables.batch_texcoords);
    // The images go to the default texture, whose filters and wrapping the GL set-up fixed.
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int s = 0; s < used_subobjects(); ++s) {
        const SobjBatchRange& range = draw_tables.sobj_batches[s];
        draw_tables.sobj_list[s] = glGenLists(1);
        glNewList(draw_tables.sobj_list[s], GL_COMPILE);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        int slot = -1;
        for (uint32_t i = 0; i < range.count; ++i) {
            const DrawBatch& b = draw_tables.batches[range.first + i];
            if (b.kind == BATCH_FLAT) {
                glColor3ub(b.colour[0], b.colour[1], b.colour[2]);
            } else {
                if (slot < 0) {
                    glAlphaFunc(GL_EQUAL, 1.0f);
                    glEnable(GL_ALPHA_TEST);
                    glEnable(GL_TEXTURE_2D);
                    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
                }
                if (b.colour[0] != slot) {
                    slot = b.colour[0];
                    GLubyte base = model.textures[slot].has_alpha ? 0 : 255;
                    glColor3ub(base, base, base);
                    (model.textures[slot].has_alpha ? glEnable : glDisable)(GL_BLEND);
                    glCallList(image_lists[slot]);
                }
            }
            glDrawArrays(GL_POLYGON, GLint(b.first), GLsizei(b.count));
        }
        glEndList();
    }
}

TEST_F(DrawTest, TexturedModelGivesThePixelsOfTheImageInListReference) {
    // Decoded by the loader from these files; the reference lists hold the same decoded texels.
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"stripes", build_ogf(make_ogf_image(3, 2,
                                             {pack_1555(255, 0, 0), pack_1555(0, 255, 0),
                                              pack_1555(0, 0, 255), pack_1555(255, 255, 255),
                                              pack_1555(255, 255, 0), pack_1555(128, 0, 255)}))},
        {"holes",
         build_ogf(make_ogf_image(2, 2, {pack_1555(0, 200, 255), 0, 0, pack_1555(255, 128, 0)}))},
        {"nibbles",
         build_ogf(make_ogf_image(2, 1, {pack_4444(255, 64, 0), pack_4444(16, 16, 16)}, 0x40))},
    };
    std::vector<GLuint> image_lists;
    for (const auto& [name, bytes] : files) {
        write_whole_file(dir.path(name + ".ogf"), bytes);
        add_texture_slot(name.c_str());
        TextureImage image{};
        ASSERT_TRUE(decode_texture(bytes, TextureKind::still, image));
        image_lists.push_back(glGenLists(1));
        glNewList(image_lists.back(), GL_COMPILE);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texture_pixels);
        glEndList();
    }
    std::filesystem::path old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.root());
    load_textures();
    std::filesystem::current_path(old_cwd);
    const uint32_t stripes = 0, holes = 1, nibbles = 2;
    ASSERT_TRUE(model.textures[stripes].loaded && model.textures[holes].has_alpha);

    int root = add_subobject(-1, {0, 0, 0});
    int child = add_subobject(root, {0, -30, 0});
    add_flat_square(root, {30, 30, 0}, 12, ORANGE);
    Polygon& wrapped = model.polygons[add_textured_square(root, {0, 30, 0}, 12, stripes)];
    for (int k = 0; k < 4; ++k) { // -1..2: the texture repeats three times across
        wrapped.u[k] = wrapped.u[k] * 3 - 1;
        wrapped.v[k] = wrapped.v[k] * 3 - 1;
    }
    add_textured_square(root, {-30, 30, 0}, 12, add_texture_slot("missing"));
    add_flat_square(root, {30, -30, -5}, 12, {0, 0, 255});
    add_textured_square(root, {30, -30, 0}, 12, holes);
    add_textured_square(child, {0, 0, 0}, 12, nibbles);
    add_textured_square(child, {-30, 0, 0}, 12, stripes);

    for (int fill : {1, 0}) {
        view.fill_poly = fill;
        draw();
        std::vector<uint8_t> frame = gl.read_pixels();
        compile_reference_lists(image_lists);
        draw_frame();
        EXPECT_EQ(frame, gl.read_pixels()) << "fill_poly " << fill;
    }
    // The textures showed: without them the same frame is different.
    view.fill_poly = 1;
    draw();
    std::vector<uint8_t> textured = gl.read_pixels();
    release_textures();
    draw();
    EXPECT_NE(textured, gl.read_pixels());
}

TEST_F(DrawTest, TransparentTextureAddsOnBlackAndOnlyOpaqueTexelsPassTheAlphaTest) {
    // Red background; the half-transparent square in front (drawn first), a green one behind.
    view.bg_red = 1;
    view.clear_red = 1.0f;
    int front = add_subobject(-1, {0, 0, 20});
    int back = add_subobject(-1, {0, 0, 0});
    add_textured_square(front, {0, 0, 0}, 20,
                        loaded_texture(2, 1, half_transparent(0, 0, 255), true));
    add_flat_square(back, {0, 0, 0}, 20, {0, 255, 0});
    draw();
    // Opaque texel: passes the alpha test, adds black to the red background and hides the green
    // square behind through the depth buffer.
    EXPECT_RGB_NEAR(at_model(10, 0), rgb(255, 0, 0), 1);
    // Transparent texel: refused by the alpha test, so the green square shows through.
    EXPECT_RGB_NEAR(at_model(-10, 0), lit({0, 255, 0}, {0, 0, 1}, {10, 0, 0}), 2);
}

TEST_F(DrawTest, GlowAddsItsEmissionToTheGlowingSubobjectOnlyThroughItsTexels) {
    int glowing = add_subobject(-1, {0, 0, 0});
    int plain = add_subobject(-1, {0, 0, 0});
    add_flat_square(glowing, {15, 15, 0}, 10, {0, 0, 0});
    add_flat_square(plain, {-15, 15, 0}, 10, {0, 0, 0});
    add_textured_square(glowing, {0, -20, 0}, 20,
                        loaded_texture(2, 1, half_transparent(255, 255, 0), true));
    model.sobj_glow[glowing] = 1;
    model.glow[glowing] = {{0.5f, 0.25f, 1.0f}, 10.0f};
    view.glow_on = 1;
    draw();
    EXPECT_RGB_NEAR(at_model(15, 15), rgb(128, 64, 255), 1);
    EXPECT_RGB_NEAR(at_model(-15, 15), BLACK, 0);
    // Emission times the yellow texel, added to the black background.
    EXPECT_RGB_NEAR(at_model(10, -20), rgb(128, 64, 0), 1);
    EXPECT_RGB_NEAR(at_model(-10, -20), BLACK, 0);
    view.glow_on = 0;
    draw();
    EXPECT_RGB_NEAR(at_model(15, 15), BLACK, 0);
    EXPECT_RGB_NEAR(at_model(10, -20), BLACK, 0);
}

TEST_F(DrawTest, LinePolyDrawsOutlinesOnly) {
    add_flat_square(add_subobject(-1, {0, 0, 0}), {0, 0, 0}, 20, ORANGE);
    view.fill_poly = 0;
    draw();
    EXPECT_RGB_NEAR(at_model(0, 0), BLACK, 0);
    auto orange = [](HeadlessGl::Rgba p) { return p.r > 150 && p.g > 80 && p.b < 80; };
    EXPECT_TRUE(any_near(50 - 20, 50, 1, orange)); // left edge (model x = +20)
    EXPECT_TRUE(any_near(50 + 20, 50, 1, orange));
    EXPECT_TRUE(any_near(50, 50 - 20, 1, orange));
    view.fill_poly = 1;
    draw();
    EXPECT_TRUE(orange(at_model(0, 0)));
}

TEST_F(DrawTest, BackFacesAreCulledOnlyWhileCullFaceIsOn) {
    Polygon& p =
        model.polygons[add_flat_square(add_subobject(-1, {0, 0, 0}), {0, 0, 0}, 20, ORANGE)];
    std::swap(p.points[1], p.points[3]); // wound the other way: seen from behind
    draw();
    EXPECT_RGB_NEAR(at_model(0, 0), BLACK, 0);
    view.cull_face = 0;
    draw();
    EXPECT_RGB_NEAR(at_model(0, 0), lit(ORANGE, {0, 0, 1}), 2);
}

TEST_F(DrawTest, SmoothUsesVertexNormalsAndFlatTheFaceNormal) {
    uint32_t i = add_flat_square(add_subobject(-1, {0, 0, 0}), {0, 0, 0}, 20, ORANGE);
    // The vertices point up toward the light; the face points at the viewer.
    for (int k = 0; k < 4; ++k)
        model.vertex_normals[model.polygons[i].points[k]] = {0, 0.7071f, 0.7071f};
    draw();
    HeadlessGl::Rgba smooth = at_model(0, 0);
    view.smooth = 0;
    draw();
    EXPECT_RGB_NEAR(at_model(0, 0), lit(ORANGE, {0, 0, 1}), 2);
    EXPECT_RGB_NEAR(smooth, lit(ORANGE, {0, 0.7071f, 0.7071f}), 2);
}

TEST_F(DrawTest, ChildIsDrawnAtTheSumOfItsAncestorsOffsetsEvenInBrokenChains) {
    int root = add_subobject(-1, {20, 0, 0});
    int middle = add_subobject(root, {0, 15, 0});
    int leaf = add_subobject(middle, {5, 5, 0});
    add_flat_square(leaf, {0, 0, 0}, 3, ORANGE);
    int a = add_subobject(4, {10, 0, 0});
    int b = add_subobject(3, {0, 10, 0});
    int c = add_subobject(57, {-20, 0, 0});
    for (int s : {a, b, c})
        add_flat_square(s, {0, 0, 0}, 3, ORANGE);
    draw();
    EXPECT_GT(at_model(25, 20).r, 150);
    // Cyclic and broken chains still draw and end: a's chain is b then a, b's a then b, and c
    // has no usable parent.
    EXPECT_GT(at_model(10, 10).r, 150);
    EXPECT_GT(at_model(-20, 0).r, 150);
    EXPECT_RGB_NEAR(at_model(0, 0), BLACK, 0);
    EXPECT_RGB_NEAR(at_model(-25, 20), BLACK, 0);
}

TEST_F(DrawTest, RebuildReplacesEachSubobjectList) {
    int s = add_subobject(-1, {0, 0, 0});
    add_flat_square(s, {0, 0, 0}, 20, ORANGE);
    draw();
    GLuint old_list = draw_tables.sobj_list[s];
    model.polygons[0].color = {0, 0, 255};
    draw();
    EXPECT_FALSE(glIsList(old_list) && old_list != draw_tables.sobj_list[s]);
    EXPECT_GT(at_model(0, 0).b, 200);
    EXPECT_LT(at_model(0, 0).r, 20);
}

TEST_F(DrawTest, ModelOf4000PolygonsOf25CornersIsDrawnToTheLastPolygon) {
    fill_maximal_model();
    // The last polygon turned green and its subobject brought to the front, so it shows
    // wherever it is drawn.
    uint32_t last = MAX_POLY - 1;
    Polygon& p = model.polygons[last];
    p.n_txtr = 0;
    p.color = {0, 255, 0};
    model.sobj_offset[p.sobj].z = 60;
    // Its centre: the mean of its corners, moved by the offsets of its subobject chain.
    float x = 0, y = 0;
    for (int k = 0; k < MAX_POLY_POINTS; ++k) {
        x += model.vertices[p.points[k]].x / MAX_POLY_POINTS;
        y += model.vertices[p.points[k]].y / MAX_POLY_POINTS;
    }
    for (int s = int(p.sobj); s >= 0; s = model.sobj_parent[s]) {
        x += model.sobj_offset[s].x;
        y += model.sobj_offset[s].y;
    }
    view.zoom = 80;
    set_projection(SIZE, SIZE);
    draw();
    EXPECT_EQ(draw_tables.num_corners, uint32_t(MAX_POLY * MAX_POLY_POINTS));
    EXPECT_RGB_NEAR(at_model(x, y), lit({0, 255, 0}, {0, 0, 1}, {-x, y, 60}), 2);
    EXPECT_TRUE(sink.boxes.empty());
}

} // namespace
