// The pixel format Meshlook asks for, shared by the window and the headless test context.
#pragma once

struct PixelFormatRequest {
    bool rgba;
    int color_bits;
    int depth_bits;
    bool double_buffer;
};

inline constexpr PixelFormatRequest pixel_format_request{true, 24, 32, true};
