// What a frame shows, read back as pixels from the headless context: flat and textured
// polygons, highlights, glow, culling, a model at every limit, point
// markers, and the same pixels as the former drawing with the texture image in each slot's list.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <span>
#include <tuple>

#include "archive/texture_decode.h"
#include "cli/command_line.h"
#include "cli/headless_gl.h"
#include "render/draw_tables.h"
#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/texture_loader.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/sample_shapes.h"
#include "tools/sample_textures.h"
#include "tools/store_builder.h"

namespace {

struct Rgba {
    int r, g, b;
};

// Colour equality within tolerance, printing both on failure.
testing::AssertionResult near(Rgba got, Rgba want, int tolerance = 2) {
    int off =
        std::max({std::abs(got.r - want.r), std::abs(got.g - want.g), std::abs(got.b - want.b)});
    return off <= tolerance ? testing::AssertionSuccess()
                            : testing::AssertionFailure()
                                  << "got (" << got.r << ", " << got.g << ", " << got.b << ")";
}

// Fresh globals, a 100 x 100 headless context with the fixed GL state, a front view (no rotation)
// where one model unit is one pixel, and the expected colour of a lit surface.
class DrawTest : public CoreTest {
  protected:
    static constexpr int SIZE = 100;

    void SetUp() override {
        CoreTest::SetUp();
        reset_draw_tables();
        try {
            gl.emplace(SIZE, SIZE);
        } catch (const CommandFailure& failure) {
            FAIL() << failure.message;
        }
        init_gl_state();
        view.rot_x = view.rot_y = 0;
        view.model_loaded = view.zoom_locked = 1;
        view.zoom = SIZE / 2;
        set_projection(SIZE, SIZE);
    }
    void draw() {
        rebuild_model_lists();
        draw_frame();
    }
    // The window pixel (y from the top) under model point (x, y) in the front view: the view
    // mirrors X, so model +X lies to the left.
    Rgba at_model(float x, float y) const {
        float scale = SIZE / (2 * view.zoom);
        int column = int(std::floor(SIZE / 2 - x * scale)),
            row = SIZE - 1 - int(std::floor(SIZE / 2 + y * scale));
        std::vector<uint8_t> all = pixels();
        const uint8_t* p = &all[(row * SIZE + column) * 4];
        return {p[0], p[1], p[2]};
    }
    std::vector<uint8_t> pixels() const { return gl->read_image().rgba; } // rows top down
    // Fixed-function lighting of colour under the one light, for a surface at model point
    // (x, y, z) with unit eye normal n: global ambient 0.2, light ambient 0.3, diffuse 0.7.
    static Rgba lit(Rgb8 colour, float x, float y, Vec3 n = {0, 0, 1}, float z = 0) {
        double lx = x, ly = 350 - y, lz = 350 - z; // the view mirrors X
        double factor = 0.5 + 0.7 * std::max(0.0, (n.x * lx + n.y * ly + n.z * lz) /
                                                      std::sqrt(lx * lx + ly * ly + lz * lz));
        auto scale = [&](uint8_t c) { return int(std::min(255.0, std::round(c * factor))); };
        return {scale(colour.red), scale(colour.green), scale(colour.blue)};
    }
    testing::AssertionResult shows_lit(float x, float y, Rgb8 colour, Vec3 n = {0, 0, 1}) const {
        return near(at_model(x, y), lit(colour, x, y, n));
    }
    // A texture slot holding width x height RGBA texels, uploaded as the loader uploads them.
    uint32_t loaded_texture(int width, const std::vector<uint8_t>& rgba, bool has_alpha) {
        uint32_t slot = add_texture_slot("test");
        std::copy(rgba.begin(), rgba.end(), texture_pixels);
        EXPECT_TRUE(upload_texture(slot, width, int(rgba.size()) / 4 / width));
        model.textures[slot].has_alpha = has_alpha;
        return slot;
    }

    std::optional<HeadlessContext> gl;
};

const Rgb8 ORANGE = {200, 120, 40}, CYAN = {0, 255, 255}, GREY = {192, 192, 192};
const Rgba BLACK{0, 0, 0};

TEST_F(DrawTest, SquaresShowTheirLitColourTexelsHighlightsAndGlow) {
    int plain = add_subobject(-1, {}), marked = add_subobject(-1, {}),
        glowing = add_subobject(-1, {});
    // Slot 0 is highlighted; the flat polygons' texture field 0 is ignored.
    uint32_t red = loaded_texture(1, {255, 0, 0, 255}, false), missing = add_texture_slot("x");
    add_flat_square(plain, {30, 30, 0}, 8, ORANGE);
    add_textured_square(plain, {0, 30, 0}, 8, missing);
    add_textured_square(plain, {30, 0, 0}, 8,
                        loaded_texture(2, {0, 0, 255, 255, 0, 255, 0, 255}, false));
    add_textured_square(plain, {0, 0, 0}, 8, red);
    add_flat_square(plain, {30, -30, 0}, 8, {0, 0, 0});
    Polygon& back = model.polygons[add_textured_square(plain, {-30, -30, 0}, 8, missing)];
    std::swap(back.points[1], back.points[3]); // wound the other way: seen from behind
    add_flat_square(marked, {-30, 0, 0}, 8, ORANGE);
    add_flat_square(glowing, {-30, 30, 0}, 8, {0, 0, 0});
    add_textured_square(glowing, {0, -30, 0}, 8,
                        loaded_texture(2, {255, 255, 0, 255, 0, 0, 0, 0}, true));
    view.sobj_highlight[marked] = view.texture_highlight[red] = 1;
    model.sobj_glow[glowing] = view.glow_on = 1;
    model.glow[glowing] = {{0.5f, 0.25f, 1.0f}, 10.0f};
    draw();
    EXPECT_TRUE(shows_lit(30, 30, ORANGE) && shows_lit(0, 30, GREY)) << "flat, unloaded texture";
    // Opaque textures are drawn on white, modulated by the light; u runs left to right as seen.
    EXPECT_TRUE(shows_lit(34, 0, {0, 0, 255}) && shows_lit(26, 0, {0, 255, 0}));
    for (int x : {0, -30}) // highlighted
        EXPECT_TRUE(shows_lit(x, 0, CYAN) && at_model(x, 0).r == 0) << x;
    // Glow: emission alone on black, times the yellow texel added to the black background, and
    // nothing where the texel is transparent or the subobject does not glow.
    for (auto [x, y, r, g, b] : {std::array{-30, 30, 128, 64, 255},
                                 {5, -30, 128, 64, 0},
                                 {-5, -30, 0, 0, 0},
                                 {30, -30, 0, 0, 0},
                                 {-30, -30, 0, 0, 0}})
        EXPECT_TRUE(near(at_model(x, y), Rgba{r, g, b}, 1)) << x << ", " << y;
    // Without flat colours only textured polygons stay, the rebuilt list replacing the old one;
    // without culling the back face shows.
    GLuint old_list = draw_tables.sobj_list[plain];
    view.flat_colors = view.cull_face = 0;
    view.clear_green = view.clear_blue = 1.0f; // the background takes the clear colour
    draw();
    EXPECT_FALSE(glIsList(old_list) && old_list != draw_tables.sobj_list[plain]) << "list leaked";
    EXPECT_TRUE(near(at_model(30, 30), Rgba{0, 255, 255}, 0));
    EXPECT_TRUE(shows_lit(0, 30, GREY) && shows_lit(-30, -30, GREY));
}

// The former way of drawing, straight from the batches: each slot's list holds its image, and
// each subobject's list sets every batch's colour and draws it as one polygon from the client
// arrays. Frames drawn from these lists are the reference for the renderer's own.
void compile_reference_lists(const std::vector<GLuint>& image_lists) {
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        glEnableClientState(array);
    glVertexPointer(3, GL_FLOAT, 0, draw_tables.batch_vertices);
    glNormalPointer(GL_FLOAT, 0, draw_tables.batch_normals);
    glTexCoordPointer(2, GL_FLOAT, 0, draw_tables.batch_texcoords);
    glBindTexture(GL_TEXTURE_2D, 0); // whose filters and wrapping the GL set-up fixed
    for (int s = 0; s < used_subobjects(); ++s) {
        glNewList(draw_tables.sobj_list[s] = glGenLists(1), GL_COMPILE);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        const SobjBatchRange& range = draw_tables.sobj_batches[s];
        for (const DrawBatch& b : std::span(draw_tables.batches + range.first, range.count)) {
            if (b.kind == BATCH_FLAT) {
                glColor3ub(b.colour[0], b.colour[1], b.colour[2]);
            } else {
                GLubyte base = model.textures[b.colour[0]].has_alpha ? 0 : 255;
                glAlphaFunc(GL_EQUAL, 1.0f);
                glEnable(GL_ALPHA_TEST);
                glEnable(GL_TEXTURE_2D);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE);
                glColor3ub(base, base, base);
                (base ? glDisable : glEnable)(GL_BLEND);
                glCallList(image_lists[b.colour[0]]);
            }
            glDrawArrays(GL_POLYGON, GLint(b.first), GLsizei(b.count));
        }
        glEndList();
    }
}

TEST_F(DrawTest, TexturedModelGivesThePixelsOfTheImageInListReference) {
    // Still textures in both pixel formats, two with see-through texels, decoded by the loader
    // from their files; the reference lists hold the same decoded texels.
    std::vector<GLuint> image_lists;
    for (const SampleFile& file : sample_textures()) {
        write_whole_file(dir.path(file.name), file.bytes);
        TextureImage image{};
        if (file.name.ends_with(".oaf") || !decode_texture(file.bytes, TextureKind::still, image))
            continue;
        add_texture_slot(file.name.substr(0, file.name.size() - 4).c_str());
        glNewList(image_lists.emplace_back(glGenLists(1)), GL_COMPILE);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texture_pixels);
        glEndList();
    }
    ASSERT_EQ(image_lists.size(), 5u);
    std::filesystem::path old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.root());
    load_textures();
    GLuint first_list = model.textures[0].gl_list;
    load_textures(); // a new load lets go of the old lists
    EXPECT_FALSE(glIsList(first_list) && first_list != model.textures[0].gl_list);
    std::filesystem::current_path(old_cwd);
    EXPECT_STREQ(model.textures[0].loaded_file, "hull.ogf");

    add_mixed_squares(); // every kind of square over the five slots, normals tilted every way
    for (auto [fill, smooth] : {std::pair{1, 1}, {0, 1}, {1, 0}}) {
        view.fill_poly = fill;
        view.smooth = smooth;
        draw();
        std::vector<uint8_t> frame = pixels();
        compile_reference_lists(image_lists);
        draw_frame();
        EXPECT_EQ(frame, pixels()) << "fill_poly " << fill << ", smooth " << smooth;
    }
    // The textures showed: without them the same frame is different.
    std::vector<uint8_t> textured = pixels();
    release_textures();
    draw();
    EXPECT_NE(textured, pixels());
}

TEST_F(DrawTest, ModelOf4000PolygonsOf25CornersIsDrawnToTheLastPolygon) {
    fill_maximal_model();
    // The last polygon turned green and its subobject brought to the front, so it shows
    // wherever it is drawn.
    Polygon& p = model.polygons[MAX_POLY - 1];
    p.n_txtr = 0;
    p.color = {0, 255, 0};
    model.sobj_offset[p.sobj].z = 60;
    view.zoom = 80;
    set_projection(SIZE, SIZE);
    draw();
    std::vector<uint8_t> frame = pixels();
    int green = 0;
    for (size_t i = 0; i < frame.size(); i += 4)
        green += near(Rgba{frame[i], frame[i + 1], frame[i + 2]}, Rgba{0, 255, 0}, 25);
    EXPECT_GT(green, 0) << "no other polygon is green";
    EXPECT_TRUE(sink.boxes.empty());
}

// Point markers at five pixels per unit: which points are marked, in which colour, with white
// direction lines. Points sit half a pixel off the grid so their lines cover whole pixels.
Vec3 spot(float x, float y) {
    return {x - 0.1f, y + 0.1f, 0};
}
const Vec3 DIAGONAL = {-0.6f, 0.8f, 0}; // up and to the right as seen
const Rgba RED{255, 0, 0}, GREEN{0, 255, 0}, YELLOW{255, 255, 0};

class MarkerTest : public DrawTest {
  protected:
    void SetUp() override {
        DrawTest::SetUp();
        view.zoom = 10;
        set_projection(SIZE, SIZE);
        add_subobject(-1, {0, 0, 0});
        add_subobject(0, {0, 0, 0});
    }
    // Whether the cross at p has colour c 1.5 units right of p (on its X arm), and whether a
    // white pixel lies near p + 3 x DIAGONAL.
    testing::AssertionResult marked(Vec3 p, Rgba c) {
        return near(at_model(p.x - 1.5f, p.y), c, 60);
    }
    bool white_along(Vec3 p) {
        for (float dx : {-0.2f, 0.0f, 0.2f})
            for (float dy : {-0.2f, 0.0f, 0.2f})
                if (near(at_model(p.x + 3 * DIAGONAL.x + dx, p.y + 3 * DIAGONAL.y + dy),
                         Rgba{255, 255, 255}, 55))
                    return true;
        return false;
    }
};

TEST_F(MarkerTest, ShowAllPointsMarksEveryListInItsColourAtItsSubobject) {
    model.sobj_offset[1] = {0, -2, 0};
    add_gun_point(0, spot(6, 6), DIAGONAL);
    add_gun_point(77, spot(0, -6), DIAGONAL); // no such subobject
    add_ground_point(1, spot(-6, 8));
    add_attach_point(0, spot(6, -6), DIAGONAL);
    add_nath_point(1, spot(-6, -4), DIAGONAL);
    model.num_nath_points = 500; // beyond the list: the rest are ignored
    add_special_point("", "", spot(0, 6), 1);
    view.show_all_points = 1;
    draw();
    for (auto [x, y, colour] : {std::tuple{6, 6, RED},
                                {-6, 6, GREEN},
                                {6, -6, Rgba{255, 0, 255}},
                                {-6, -6, Rgba{0, 255, 255}},
                                {0, 6, YELLOW},
                                {0, -6, BLACK}})
        EXPECT_TRUE(marked(spot(x, y), colour)) << x << ", " << y;
    EXPECT_TRUE(near(at_model(6 - 0.1f, 6 + 0.1f - 1.5f), RED, 60)) << "the cross's Y arm";
    EXPECT_TRUE(white_along(spot(6, 6)) && white_along(spot(-6, -6)));
    EXPECT_FALSE(white_along(spot(0, 6))) << "special points have no direction";
}

TEST_F(MarkerTest, ShowLocationMarksOnlyTheCurrentPointOfTheOpenTab) {
    const Vec3 spots[5] = {spot(6, 6), spot(-6, 6), spot(6, -6), spot(-6, -6), spot(0, 0)};
    for (int i : {0, 1})
        add_gun_point(0, spots[i], DIAGONAL);
    for (int i : {2, 3})
        add_ground_point(0, spots[i]);
    add_special_point("", "", spots[0], 1);
    add_special_point("", "", spots[4], 1);
    view.cur_point = view.cur_special = 1;
    const Rgba _ = BLACK;
    for (auto [tab, show, marks] : {std::tuple{0u, 1, std::array{_, RED, _, _, _}},
                                    {1u, 1, {_, _, _, GREEN, _}},
                                    {4u, 1, {_, _, _, _, YELLOW}},
                                    {4u, 0, {_, _, _, _, _}}}) {
        view.edit_tab = tab;
        view.show_location = show;
        draw();
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(marked(spots[i], marks[i])) << "tab " << tab << ", spot " << i;
    }
}

} // namespace
