// Shared set-up for the drawing tests: fresh globals, a 100 x 100 headless context with the fixed
// GL state, a front view (no rotation) where one model unit is one pixel, and the expected
// colour of a lit surface.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "archive/texture_decode.h"
#include "cli/command_line.h"
#include "cli/headless_gl.h"
#include "render/draw_tables.h"
#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/texture_loader.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/store_builder.h"

struct Rgba {
    uint8_t r, g, b, a;
};

inline Rgba rgb(int r, int g, int b) {
    return {uint8_t(r), uint8_t(g), uint8_t(b), 255};
}

// Colour equality within tolerance, printing both on failure.
inline testing::AssertionResult near(Rgba got, Rgba want, int tolerance = 2) {
    int off =
        std::max({std::abs(got.r - want.r), std::abs(got.g - want.g), std::abs(got.b - want.b)});
    return off <= tolerance ? testing::AssertionSuccess()
                            : testing::AssertionFailure()
                                  << "got (" << int(got.r) << ", " << int(got.g) << ", "
                                  << int(got.b) << ")";
}

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
        return {p[0], p[1], p[2], p[3]};
    }
    std::vector<uint8_t> pixels() const { return gl->read_image().rgba; } // rows top down
    // Fixed-function lighting of colour under the one light, for a surface at model point
    // (x, y, z) with unit eye normal n: global ambient 0.2, light ambient 0.3, diffuse 0.7.
    static Rgba lit(Rgb8 colour, float x, float y, Vec3 n = {0, 0, 1}, float z = 0) {
        double lx = x, ly = 350 - y, lz = 350 - z; // the view mirrors X
        double factor = 0.5 + 0.7 * std::max(0.0, (n.x * lx + n.y * ly + n.z * lz) /
                                                      std::sqrt(lx * lx + ly * ly + lz * lz));
        auto scale = [&](uint8_t c) { return int(std::min(255.0, std::round(c * factor))); };
        return rgb(scale(colour.red), scale(colour.green), scale(colour.blue));
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
