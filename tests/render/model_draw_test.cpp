// What a frame shows: flat and textured polygons, highlights, transparency, outlines, culling,
// glow and the parent chain, read back as pixels from the headless context.
#include "tests/render/draw_fixture.h"

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

TEST_F(DrawTest, OversizedModelDrawsWhatFitsAndSaysSoOnce) {
    fill_maximal_model();
    draw();
    draw();
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].caption, "INFO");
    std::vector<uint8_t> pixels = gl.read_pixels();
    int lit_pixels = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        lit_pixels += pixels[i] + pixels[i + 1] + pixels[i + 2] > 0;
    EXPECT_GT(lit_pixels, 500);
}

} // namespace
