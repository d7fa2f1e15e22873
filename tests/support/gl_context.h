// A headless OpenGL context for render tests: EGL on Mesa's surfaceless platform with a
// desktop (compatibility) context and a pbuffer, so no X server is needed.
#pragma once

#include <cstdint>
#include <vector>

class HeadlessGl {
  public:
    // Creates the context and makes it current; width x height is the pbuffer size.
    HeadlessGl(int width, int height);
    ~HeadlessGl();
    HeadlessGl(const HeadlessGl&) = delete;
    HeadlessGl& operator=(const HeadlessGl&) = delete;

    bool ok() const { return ok_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // RGBA bytes of the colour buffer, bottom row first, as glReadPixels gives them.
    std::vector<uint8_t> read_pixels() const;
    // RGBA of the pixel at (x, y), y counted from the top like a window.
    struct Rgba {
        uint8_t r, g, b, a;
    };
    Rgba pixel(int x, int y) const;

  private:
    void* display_ = nullptr;
    void* context_ = nullptr;
    void* surface_ = nullptr;
    int width_;
    int height_;
    bool ok_ = false;
};
