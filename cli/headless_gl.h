// The drawing surface of meshlook-cli: an OpenGL compatibility context on EGL's surfaceless
// platform (Mesa) with an off-screen pbuffer, so no window system is needed.
#pragma once

#include "cli/png_writer.h"

class HeadlessContext {
  public:
    // Creates the context with a width x height pbuffer and makes it current. Throws
    // CommandFailure when no such context can be had.
    HeadlessContext(int width, int height);
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // The colour buffer, rows top to bottom.
    Image read_image() const;

  private:
    void release();

    void* display_ = nullptr;
    void* context_ = nullptr;
    void* surface_ = nullptr;
    int width_;
    int height_;
};
