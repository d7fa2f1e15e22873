// Shared set-up for the drawing tests: fresh globals, a 100 x 100 headless context with the fixed
// GL state, a front view (no rotation) where one model unit is one pixel, and the expected
// colour of a lit surface.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "archive/texture_decode.h"
#include "render/draw_tables.h"
#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/texture_loader.h"
#include "state/view_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

class DrawTest : public CoreTest {
  protected:
    static constexpr int SIZE = 100;

    void SetUp() override {
        CoreTest::SetUp();
        reset_draw_tables();
        ASSERT_TRUE(gl.ok());
        init_gl_state();
        view.rot_x = 0;
        view.rot_y = 0;
        view.model_loaded = 1;
        view.zoom_locked = 1;
        view.zoom = SIZE / 2;
        set_projection(SIZE, SIZE);
    }

    void draw() {
        rebuild_model_lists();
        draw_frame();
    }

    // The window pixel (y from the top) under model point (x, y) in the front view: the view
    // mirrors X, so model +X lies to the left.
    HeadlessGl::Rgba at_model(float x, float y) const {
        float scale = SIZE / (2 * view.zoom);
        int px = int(std::floor(SIZE / 2 - x * scale));
        int py = SIZE - 1 - int(std::floor(SIZE / 2 + y * scale));
        return gl.pixel(px, py);
    }

    // Fixed-function lighting of colour under the one light, for a surface at eye position
    // (x, y, z) with unit eye normal n: global ambient 0.2, light ambient 0.3, diffuse 0.7.
    static HeadlessGl::Rgba lit(Rgb8 colour, Vec3 n, Vec3 at = {0, 0, 0}) {
        double lx = -at.x, ly = 350 - at.y, lz = 350 - at.z;
        double length = std::sqrt(lx * lx + ly * ly + lz * lz);
        double diffuse = std::max(0.0, (n.x * lx + n.y * ly + n.z * lz) / length);
        double factor = 0.2 + 0.3 + 0.7 * diffuse;
        auto scale = [&](uint8_t c) { return uint8_t(std::min(255.0, std::round(c * factor))); };
        return {scale(colour.red), scale(colour.green), scale(colour.blue), 255};
    }

    // Creates a texture slot holding width x height RGBA texels, uploaded as the texture loader
    // uploads a decoded image.
    uint32_t loaded_texture(int width, int height, const std::vector<uint8_t>& rgba,
                            bool has_alpha) {
        uint32_t slot = add_texture_slot("test");
        std::copy(rgba.begin(), rgba.end(), texture_pixels);
        EXPECT_TRUE(upload_texture(slot, width, height));
        model.textures[slot].has_alpha = has_alpha;
        return slot;
    }

    // True when some pixel within radius of (x, y) satisfies the test.
    bool any_near(int x, int y, int radius, const std::function<bool(HeadlessGl::Rgba)>& test) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (test(gl.pixel(x + dx, y + dy)))
                    return true;
        return false;
    }

    HeadlessGl gl{SIZE, SIZE};
};

// Colour equality within a few units, printing both on failure.
#define EXPECT_RGB_NEAR(actual, expected, tolerance)                                               \
    do {                                                                                           \
        HeadlessGl::Rgba a_ = (actual), e_ = (expected);                                           \
        EXPECT_TRUE(std::abs(a_.r - e_.r) <= (tolerance) &&                                        \
                    std::abs(a_.g - e_.g) <= (tolerance) && std::abs(a_.b - e_.b) <= (tolerance))  \
            << "got (" << int(a_.r) << ", " << int(a_.g) << ", " << int(a_.b) << "), expected ("   \
            << int(e_.r) << ", " << int(e_.g) << ", " << int(e_.b) << ")";                         \
    } while (0)

inline HeadlessGl::Rgba rgb(int r, int g, int b) {
    return {uint8_t(r), uint8_t(g), uint8_t(b), 255};
}
