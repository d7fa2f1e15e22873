// The fixed GL state, the projection for wide, tall and square windows, the zoom rule, and the
// palette ramps.
#include <GL/gl.h>

#include <algorithm>
#include <array>

#include "render/gl_setup.h"
#include "render/palette.h"
#include "state/view_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"

namespace {

using Four = std::array<GLfloat, 4>;

class GlSetupTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(gl.ok());
    }
    // Compares the orthographic bounds GL holds, read back from the projection matrix, and
    // those projection_volume gives, with +-x, +-y and near/far -+z.
    static void expect_volume(int width, int height, float zoom, double x, double y, double z) {
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        // glOrtho maps eye z = -near to -1 and -far to +1.
        OrthoVolume in_gl = {(-1 - m[12]) / m[0], (1 - m[12]) / m[0],  (-1 - m[13]) / m[5],
                             (1 - m[13]) / m[5],  (1 + m[14]) / m[10], (-1 + m[14]) / m[10]};
        for (const OrthoVolume& v : {in_gl, projection_volume(width, height, zoom)}) {
            EXPECT_NEAR(v.left, -x, 1e-3);
            EXPECT_NEAR(v.right, x, 1e-3);
            EXPECT_NEAR(v.bottom, -y, 1e-3);
            EXPECT_NEAR(v.top, y, 1e-3);
            EXPECT_NEAR(v.near_z, -z, 1e-2);
            EXPECT_NEAR(v.far_z, z, 1e-2);
        }
    }
    HeadlessGl gl{32, 32};
};

TEST_F(GlSetupTest, FixedStateIsSetOnce) {
    init_gl_state();
    for (GLenum on : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    for (GLenum off : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_CULL_FACE})
        EXPECT_FALSE(glIsEnabled(off)) << off;
    GLint v[7];
    glGetIntegerv(GL_FRONT_FACE, &v[0]);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &v[1]);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &v[2]);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v[3]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v[4]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v[5]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v[6]);
    EXPECT_EQ(
        std::vector<GLint>(v, v + 7),
        (std::vector<GLint>{GL_CW, 4, GL_FASTEST, GL_MODULATE, GL_REPEAT, GL_NEAREST, GL_NEAREST}));
    auto light = [](GLenum what) {
        Four f;
        glGetLightfv(GL_LIGHT0, what, f.data());
        return f;
    };
    EXPECT_EQ(light(GL_AMBIENT), (Four{0.3f, 0.3f, 0.3f, 1}));
    EXPECT_EQ(light(GL_DIFFUSE), (Four{0.7f, 0.7f, 0.7f, 1}));
    EXPECT_EQ(light(GL_SPECULAR), (Four{1, 1, 1, 1}));
    EXPECT_EQ(light(GL_POSITION), (Four{0, 350, 350, 1}));
    Four clear;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    EXPECT_EQ(clear, (Four{0, 0, 0, 1}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlSetupTest, ZoomIsTheHalfExtentOfTheShorterSide) {
    struct Case {
        int width, height;
        float zoom;
        double x, y, z;
    };
    for (Case c : {Case{800, 400, 100, 200, 100, 500}, Case{400, 800, 100, 100, 200, 500},
                   Case{300, 300, 100, 100, 100, 500}, Case{50, 0, 10, 500, 10, 50},
                   Case{0, 40, 10, 10, 400, 50}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        view.zoom = c.zoom;
        set_projection(c.width, c.height);
        expect_volume(c.width, c.height, c.zoom, c.x, c.y, c.z);
        EXPECT_EQ(view.view_width, c.width);
        EXPECT_EQ(view.view_height, std::max(c.height, 1)) << "height 0 counts as 1";
    }
    set_projection(300, 200);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 200);
    // The modelview matrix is left current and reset.
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GlSetupTest, ZoomFollowsTheModelUnlessLocked) {
    model.model_radius = 40;
    set_projection(100, 100);
    EXPECT_EQ(view.zoom, 0.0f); // nothing loaded: zoom is left alone
    view.model_loaded = 1;
    set_projection(100, 100);
    EXPECT_EQ(view.zoom, 80.0f);
    view.size_to_poly = 0;
    set_projection(100, 100);
    EXPECT_EQ(view.zoom, 150.0f);
    view.zoom = 33;
    view.zoom_locked = 1;
    set_projection(200, 100);
    EXPECT_EQ(view.zoom, 33.0f);
    expect_volume(200, 100, 33, 66, 33, 165);
    // Zoom 0 would be an empty volume GL refuses: the identity stays.
    view.zoom = 0;
    set_projection(64, 64);
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Palette, RampsFollowTheChannelBitsAndShifts) {
    EXPECT_TRUE(make_palette({false, 24, {8, 16}, {8, 8}, {8, 0}}).empty()) << "true colour";
    struct Case {
        PaletteFormat format;
        size_t index;
        std::array<int, 4> expected; // red, green, blue, flags
    };
    const PaletteFormat rgb332 = {true, 8, {3, 0}, {3, 3}, {2, 6}}; // red in bits 0-2
    const PaletteFormat red_only = {true, 4, {4, 0}, {0, 0}, {0, 0}};
    for (const Case& c :
         {Case{rgb332, 0, {0, 0, 0, 0}}, Case{rgb332, 1, {36, 0, 0, 0}},
          Case{rgb332, 7, {255, 0, 0, 0}}, Case{rgb332, 8, {0, 36, 0, 0}},
          Case{rgb332, 5 << 3, {0, 182, 0, 0}}, Case{rgb332, 1 << 6, {0, 0, 85, 0}},
          Case{rgb332, 2 << 6, {0, 0, 170, 0}}, Case{rgb332, 255, {255, 255, 255, 0}},
          // 6 x 255 / 7 = 218.6, truncated
          Case{rgb332, 0x96, {218, 72, 170, 0}}, Case{red_only, 15, {255, 0, 0, 0}},
          Case{red_only, 5, {85, 0, 0, 0}}}) {
        std::vector<PaletteEntry> p = make_palette(c.format);
        ASSERT_EQ(p.size(), size_t(1) << c.format.color_bits);
        const PaletteEntry& e = p[c.index];
        EXPECT_EQ((std::array<int, 4>{e.red, e.green, e.blue, e.flags}), c.expected) << c.index;
    }
}

} // namespace
