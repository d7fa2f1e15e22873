// HeadlessGl: EGL surfaceless platform, desktop OpenGL compatibility context, pbuffer.
#include "tests/support/gl_context.h"

#define EGL_NO_X11
#define MESA_EGL_NO_X11_HEADERS
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstddef>

#include "render/pixel_format.h"

namespace {

EGLDisplay surfaceless_display() {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display)
        return EGL_NO_DISPLAY;
    return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

EGLConfig choose_config(EGLDisplay display) {
    // The same request the window uses; depth falls back to 24 bits where 32 is not offered.
    const PixelFormatRequest& want = pixel_format_request;
    for (int depth : {want.depth_bits, 24}) {
        const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                     EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, depth,
                                     EGL_NONE};
        EGLConfig config;
        EGLint count = 0;
        if (eglChooseConfig(display, attributes, &config, 1, &count) && count > 0)
            return config;
    }
    return nullptr;
}

} // namespace

HeadlessGl::HeadlessGl(int width, int height) : width_(width), height_(height) {
    EGLDisplay display = surfaceless_display();
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return;
    display_ = display;
    EGLConfig config = choose_config(display);
    if (!config || !eglBindAPI(EGL_OPENGL_API))
        return;
    const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display, config, surface_attributes);
    ok_ = context_ && surface_ && eglMakeCurrent(display, surface_, surface_, context_);
    if (ok_)
        glViewport(0, 0, width, height);
}

HeadlessGl::~HeadlessGl() {
    if (!display_)
        return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_)
        eglDestroySurface(display_, surface_);
    if (context_)
        eglDestroyContext(display_, context_);
    eglTerminate(display_);
}

std::vector<uint8_t> HeadlessGl::read_pixels() const {
    std::vector<uint8_t> pixels(std::size_t(width_) * height_ * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

HeadlessGl::Rgba HeadlessGl::pixel(int x, int y) const {
    uint8_t p[4] = {};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height_ - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}
