// The fixed GL state, the projection for wide, tall and square windows, the zoom rule, and the
// palette ramps.
#include <GL/gl.h>

#include "render/gl_setup.h"
#include "render/palette.h"
#include "state/view_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"

namespace {

class GlSetupTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(gl.ok());
    }
    // The orthographic bounds GL holds, read back from the projection matrix.
    OrthoVolume projection_in_gl() const {
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        double left = (-1 - m[12]) / m[0], right = (1 - m[12]) / m[0];
        double bottom = (-1 - m[13]) / m[5], top = (1 - m[13]) / m[5];
        // glOrtho maps eye z = -near to -1 and -far to +1.
        double near_z = (1 + m[14]) / m[10], far_z = (-1 + m[14]) / m[10];
        return {left, right, bottom, top, near_z, far_z};
    }
    static void expect_volume(const OrthoVolume& v, double x, double y, double z) {
        EXPECT_NEAR(v.left, -x, 1e-3);
        EXPECT_NEAR(v.right, x, 1e-3);
        EXPECT_NEAR(v.bottom, -y, 1e-3);
        EXPECT_NEAR(v.top, y, 1e-3);
        EXPECT_NEAR(v.near_z, -z, 1e-2);
        EXPECT_NEAR(v.far_z, z, 1e-2);
    }
    HeadlessGl gl{32, 32};
};

TEST_F(GlSetupTest, FixedStateIsSetOnce) {
    init_gl_state();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CW);
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, light);
    EXPECT_FLOAT_EQ(light[0], 0.3f);
    EXPECT_FLOAT_EQ(light[3], 1.0f);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, light);
    EXPECT_FLOAT_EQ(light[1], 0.7f);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, light);
    EXPECT_FLOAT_EQ(light[2], 1.0f);
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[0], 0.0f);
    EXPECT_FLOAT_EQ(light[1], 350.0f);
    EXPECT_FLOAT_EQ(light[2], 350.0f);
    EXPECT_FLOAT_EQ(light[3], 1.0f);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 4);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_FASTEST);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlSetupTest, ZoomIsTheHalfExtentOfTheShorterSide) {
    view.zoom = 100;
    set_projection(800, 400);
    expect_volume(projection_in_gl(), 200, 100, 500);
    set_projection(400, 800);
    expect_volume(projection_in_gl(), 100, 200, 500);
    set_projection(300, 300);
    expect_volume(projection_in_gl(), 100, 100, 500);
    expect_volume(projection_volume(800, 400, 100), 200, 100, 500);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 300);
    // The modelview matrix is left current and reset.
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GlSetupTest, HeightZeroCountsAsOne) {
    view.zoom = 10;
    set_projection(50, 0);
    EXPECT_EQ(view.view_width, 50);
    EXPECT_EQ(view.view_height, 1);
    expect_volume(projection_in_gl(), 500, 10, 50);
    // A zero width keeps the volume finite.
    OrthoVolume v = projection_volume(0, 40, 10);
    EXPECT_NEAR(v.top, 400, 1e-3);
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
    expect_volume(projection_in_gl(), 66, 33, 165);
}

TEST_F(GlSetupTest, ZeroZoomLeavesTheIdentity) {
    view.zoom = 100;
    set_projection(64, 64);
    view.zoom = 0;
    set_projection(64, 64);
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Palette, ThreeThreeTwoGivesTheUsualRamps) {
    // Red in bits 0-2, green in 3-5, blue in 6-7.
    std::vector<PaletteEntry> p = make_palette({true, 8, {3, 0}, {3, 3}, {2, 6}});
    ASSERT_EQ(p.size(), 256u);
    EXPECT_EQ(p[0].red + p[0].green + p[0].blue, 0);
    EXPECT_EQ(p[1].red, 36); // 1 x 255 / 7
    EXPECT_EQ(p[7].red, 255);
    EXPECT_EQ(p[8].red, 0);
    EXPECT_EQ(p[8].green, 36);
    EXPECT_EQ(p[5 << 3].green, 182); // 5 x 255 / 7 = 182.1
    EXPECT_EQ(p[1 << 6].blue, 85);
    EXPECT_EQ(p[2 << 6].blue, 170);
    EXPECT_EQ(p[255].red, 255);
    EXPECT_EQ(p[255].green, 255);
    EXPECT_EQ(p[255].blue, 255);
    EXPECT_EQ(p[0x96].red, 218);  // 6 x 255 / 7 = 218.6, truncated
    EXPECT_EQ(p[0x96].green, 72); // 2
    EXPECT_EQ(p[0x96].blue, 170); // 2
    EXPECT_EQ(p[0x96].flags, 0);
}

TEST(Palette, TrueColourNeedsNoneAndEmptyChannelsStayDark) {
    EXPECT_TRUE(make_palette({false, 24, {8, 16}, {8, 8}, {8, 0}}).empty());
    std::vector<PaletteEntry> p = make_palette({true, 4, {4, 0}, {0, 0}, {0, 0}});
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p[15].red, 255);
    EXPECT_EQ(p[15].green, 0);
    EXPECT_EQ(p[5].red, 85);
}

} // namespace
