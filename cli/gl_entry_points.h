// The OpenGL and EGL functions meshlook-cli calls, resolved at run time from libEGL, so that
// commands that draw nothing start without loading the GL libraries at all.
#pragma once

#define EGL_NO_X11
#define MESA_EGL_NO_X11_HEADERS
#include <EGL/egl.h>
#include <EGL/eglext.h>

struct EglFunctions {
    PFNEGLGETPROCADDRESSPROC GetProcAddress;
    PFNEGLGETPLATFORMDISPLAYEXTPROC GetPlatformDisplayEXT;
    PFNEGLINITIALIZEPROC Initialize;
    PFNEGLTERMINATEPROC Terminate;
    PFNEGLCHOOSECONFIGPROC ChooseConfig;
    PFNEGLBINDAPIPROC BindAPI;
    PFNEGLCREATECONTEXTPROC CreateContext;
    PFNEGLDESTROYCONTEXTPROC DestroyContext;
    PFNEGLCREATEPBUFFERSURFACEPROC CreatePbufferSurface;
    PFNEGLDESTROYSURFACEPROC DestroySurface;
    PFNEGLMAKECURRENTPROC MakeCurrent;
};

// Loads libEGL and its functions once; nullptr when the library or a function is missing.
const EglFunctions* egl_functions();

// Resolves the GL functions the renderer and meshlook-cli call (the gl* symbols this program
// defines forward to them). False when one is missing. Needs egl_functions().
bool resolve_gl_functions();
