// The headless context: EGL surfaceless display, the window's pixel format request, a pbuffer.
#include "cli/headless_gl.h"

#include <GL/gl.h>

#include <cstring>

#include "cli/command_line.h"
#include "cli/gl_entry_points.h"
#include "render/pixel_format.h"

namespace {

const EglFunctions& egl() {
    const EglFunctions* functions = egl_functions();
    if (!functions)
        throw CommandFailure{"cannot load libEGL.so.1 (headless OpenGL) on this machine"};
    return *functions;
}

// The viewer's request with an alpha channel for transparent backgrounds; depth falls back to
// 24 bits where 32 is not offered.
EGLConfig choose_config(EGLDisplay display) {
    const PixelFormatRequest& want = pixel_format_request;
    for (int depth : {want.depth_bits, 24}) {
        const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_ALPHA_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     depth,
                                     EGL_NONE};
        EGLConfig config;
        EGLint count = 0;
        if (egl().ChooseConfig(display, attributes, &config, 1, &count) && count > 0)
            return config;
    }
    return nullptr;
}

} // namespace

HeadlessContext::HeadlessContext(int width, int height) : width_(width), height_(height) {
    EGLDisplay display =
        egl().GetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !egl().Initialize(display, nullptr, nullptr))
        throw CommandFailure{"no headless OpenGL (EGL surfaceless platform) on this machine"};
    display_ = display;
    EGLConfig config = choose_config(display);
    const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    if (config && egl().BindAPI(EGL_OPENGL_API)) {
        context_ = egl().CreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
        surface_ = egl().CreatePbufferSurface(display, config, surface_attributes);
    }
    if (!context_ || !surface_ || !egl().MakeCurrent(display, surface_, surface_, context_)) {
        release();
        throw CommandFailure{"cannot create a " + std::to_string(width) + "x" +
                             std::to_string(height) + " OpenGL drawing surface"};
    }
    if (!resolve_gl_functions()) {
        release();
        throw CommandFailure{"the OpenGL library lacks functions meshlook-cli draws with"};
    }
}

HeadlessContext::~HeadlessContext() {
    release();
}

void HeadlessContext::release() {
    if (!display_)
        return;
    egl().MakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_)
        egl().DestroySurface(display_, surface_);
    if (context_)
        egl().DestroyContext(display_, context_);
    egl().Terminate(display_);
    display_ = nullptr;
}

Image HeadlessContext::read_image() const {
    Image image{width_, height_, std::vector<uint8_t>(size_t(width_) * height_ * 4)};
    std::vector<uint8_t> bottom_up(image.rgba.size());
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    size_t row = size_t(width_) * 4;
    for (int y = 0; y < height_; ++y)
        std::memcpy(&image.rgba[size_t(y) * row], &bottom_up[size_t(height_ - 1 - y) * row], row);
    return image;
}
