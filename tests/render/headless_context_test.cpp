// The headless context clears to the requested colour and has a depth buffer.
#include <GL/gl.h>

#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"

TEST(HeadlessContext, ClearsToTheGivenColourWithDepth) {
    HeadlessGl gl(64, 32);
    ASSERT_TRUE(gl.ok());
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    auto p = gl.pixel(10, 5);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 255);
    GLint depth_bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth_bits);
    EXPECT_GE(depth_bits, 16);
    // Display lists exist only in a compatibility context.
    GLuint list = glGenLists(1);
    EXPECT_NE(list, 0u);
    glDeleteLists(list, 1);
}
