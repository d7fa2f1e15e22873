// Drawing the model in the store as the viewer does, into an image.
#pragma once

#include <cstdint>
#include <optional>

#include "cli/headless_gl.h"
#include "state/view_state.h"

struct RenderSettings {
    int width = 400; // the viewer's start window size
    int height = 400;
    float rot_x = START_ROT;
    float rot_y = START_ROT;
    bool textures = true;
    std::optional<uint32_t> frame; // the keyframe at or before this frame number
    bool fit = false;              // zoom so the drawn model fills the image
    bool transparent = false;      // a transparent background instead of black
};

class ModelRenderer {
  public:
    // Creates the drawing surface and sets the fixed GL state once.
    explicit ModelRenderer(const RenderSettings& settings);

    // Loads the model's textures (or drops them), sets the view and draws one frame with the
    // renderer's own calls: set_projection, rebuild_model_lists and draw_frame.
    Image draw();

  private:
    RenderSettings settings_;
    HeadlessContext gl_;
};
