// The projection for wide, tall and square windows, the zoom rule, and the palette ramps.
#include <GL/gl.h>

#include <array>

#include "render/gl_setup.h"
#include "render/palette.h"
#include "state/view_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"

namespace {

class GlSetupTest : public CoreTest {};

TEST_F(GlSetupTest, ZoomIsTheHalfExtentOfTheShorterSideAndFollowsTheModelUnlessLocked) {
    HeadlessGl gl(32, 32);
    ASSERT_TRUE(gl.ok());
    model.model_radius = 40;
    // Window, whether a model is loaded and sized to its polygons, zoom before and after, and
    // the half extents x, y; depth runs over +-5 x zoom, and a height of 0 counts as 1.
    for (auto [width, height, loaded, sized, before, zoom, x, y] :
         {std::array{800, 400, 0, 1, 100, 100, 200, 100},
          {400, 800, 0, 1, 100, 100, 100, 200},
          {50, 0, 0, 1, 10, 10, 500, 10},
          {0, 40, 0, 1, 10, 10, 10, 400},
          {100, 100, 1, 1, 0, 80, 80, 80},
          {100, 100, 1, 0, 0, 150, 150, 150}}) {
        view.model_loaded = loaded;
        view.size_to_poly = sized;
        view.zoom = float(before);
        set_projection(width, height);
        EXPECT_EQ(view.zoom, float(zoom)) << width << " x " << height;
        GLfloat m[16]; // glOrtho maps x = right and y = top to 1, z = -far to 1
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        for (auto [got, want] : {std::pair{1 / m[0], x}, {1 / m[5], y}, {-1 / m[10], 5 * zoom}})
            EXPECT_NEAR(got, want, 1e-3);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ((std::array{viewport[0], viewport[1], viewport[2], viewport[3]}),
                  (std::array{0, 0, width, std::max(height, 1)}));
    }
    view.zoom_locked = 1; // the zoom stays; 0 would be an empty volume GL refuses
    view.zoom = 0;
    set_projection(64, 64);
    EXPECT_EQ(view.zoom, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Palette, RampsFollowTheChannelBitsAndShifts) {
    EXPECT_TRUE(make_palette({false, 24, {8, 16}, {8, 8}, {8, 0}}).empty()) << "true colour";
    // Red in bits 0-2; 6 x 255 / 7 truncated to 218.
    std::vector<PaletteEntry> p = make_palette({true, 8, {3, 0}, {3, 3}, {2, 6}});
    ASSERT_EQ(p.size(), 256u);
    EXPECT_EQ(make_palette({true, 4, {4, 0}, {0, 0}, {0, 0}})[5].green, 0) << "a channel of 0 bits";
    for (auto [index, r, g, b] : {std::array{1, 36, 0, 0},
                                  {7, 255, 0, 0},
                                  {5 << 3, 0, 182, 0},
                                  {2 << 6, 0, 0, 170},
                                  {0x96, 218, 72, 170},
                                  {255, 255, 255, 255}})
        EXPECT_EQ((std::array{p[index].red, p[index].green, p[index].blue, p[index].flags}),
                  (std::array<uint8_t, 4>{uint8_t(r), uint8_t(g), uint8_t(b), 0}))
            << index;
}

} // namespace
