// The GL functions used by the renderer and meshlook-cli, defined here as forwarders to the
// entry points libEGL hands out, and the EGL functions looked up in libEGL. A GL call added to
// the renderer needs its line in GL_FUNCTIONS, or linking meshlook-cli fails.
#include "cli/gl_entry_points.h"

#include <GL/gl.h>
#include <dlfcn.h>

// Each line: return type, name, parameter list, argument list.
#define GL_FUNCTIONS(X)                                                                            \
    X(void, glAlphaFunc, (GLenum func, GLclampf ref), (func, ref))                                 \
    X(void, glBegin, (GLenum mode), (mode))                                                        \
    X(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))                     \
    X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))                     \
    X(void, glCallList, (GLuint list), (list))                                                     \
    X(void, glClear, (GLbitfield mask), (mask))                                                    \
    X(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))          \
    X(void, glColor3ub, (GLubyte r, GLubyte g, GLubyte b), (r, g, b))                              \
    X(void, glColor3ubv, (const GLubyte* v), (v))                                                  \
    X(void, glDeleteLists, (GLuint list, GLsizei range), (list, range))                            \
    X(void, glDeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))                  \
    X(void, glDisable, (GLenum cap), (cap))                                                        \
    X(void, glEnable, (GLenum cap), (cap))                                                         \
    X(void, glEnd, (void), ())                                                                     \
    X(void, glEndList, (void), ())                                                                 \
    X(void, glFinish, (void), ())                                                                  \
    X(void, glFlush, (void), ())                                                                   \
    X(void, glFrontFace, (GLenum mode), (mode))                                                    \
    X(GLuint, glGenLists, (GLsizei range), (range))                                                \
    X(void, glGenTextures, (GLsizei n, GLuint * textures), (n, textures))                          \
    X(void, glGetFloatv, (GLenum pname, GLfloat * params), (pname, params))                        \
    X(void, glHint, (GLenum target, GLenum mode), (target, mode))                                  \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params),                        \
      (light, pname, params))                                                                      \
    X(void, glLoadIdentity, (void), ())                                                            \
    X(void, glLoadMatrixf, (const GLfloat* m), (m))                                                \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params),                      \
      (face, pname, params))                                                                       \
    X(void, glMatrixMode, (GLenum mode), (mode))                                                   \
    X(void, glNewList, (GLuint list, GLenum mode), (list, mode))                                   \
    X(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                              \
    X(void, glNormal3fv, (const GLfloat* v), (v))                                                  \
    X(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),     \
      (l, r, b, t, n, f))                                                                          \
    X(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))                            \
    X(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode))                               \
    X(void, glPopMatrix, (void), ())                                                               \
    X(void, glPushMatrix, (void), ())                                                              \
    X(void, glReadPixels,                                                                          \
      (GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid * pixels),       \
      (x, y, w, h, format, type, pixels))                                                          \
    X(void, glTexCoord2fv, (const GLfloat* v), (v))                                                \
    X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param))         \
    X(void, glTexImage2D,                                                                          \
      (GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,             \
       GLenum format, GLenum type, const GLvoid* pixels),                                          \
      (target, level, internal, w, h, border, format, type, pixels))                               \
    X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))   \
    X(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                              \
    X(void, glVertex3fv, (const GLfloat* v), (v))                                                  \
    X(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))

namespace {

#define DECLARE_POINTER(ret, name, params, args) ret(GLAPIENTRY* name##_entry) params = nullptr;
GL_FUNCTIONS(DECLARE_POINTER)
#undef DECLARE_POINTER

template <class F> bool look_up(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

bool load_egl(EglFunctions& f) {
    void* library = dlopen("libEGL.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library || !look_up(library, "eglGetProcAddress", f.GetProcAddress))
        return false;
    f.GetPlatformDisplayEXT = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        f.GetProcAddress("eglGetPlatformDisplayEXT"));
    return f.GetPlatformDisplayEXT && look_up(library, "eglInitialize", f.Initialize) &&
           look_up(library, "eglTerminate", f.Terminate) &&
           look_up(library, "eglChooseConfig", f.ChooseConfig) &&
           look_up(library, "eglBindAPI", f.BindAPI) &&
           look_up(library, "eglCreateContext", f.CreateContext) &&
           look_up(library, "eglDestroyContext", f.DestroyContext) &&
           look_up(library, "eglCreatePbufferSurface", f.CreatePbufferSurface) &&
           look_up(library, "eglDestroySurface", f.DestroySurface) &&
           look_up(library, "eglMakeCurrent", f.MakeCurrent);
}

} // namespace

#define DEFINE_FORWARDER(ret, name, params, args)                                                  \
    extern "C" ret GLAPIENTRY name params {                                                        \
        return name##_entry args;                                                                  \
    }
GL_FUNCTIONS(DEFINE_FORWARDER)
#undef DEFINE_FORWARDER

const EglFunctions* egl_functions() {
    static EglFunctions functions{};
    static const bool loaded = load_egl(functions);
    return loaded ? &functions : nullptr;
}

bool resolve_gl_functions() {
    const EglFunctions* egl = egl_functions();
    if (!egl)
        return false;
    bool all = true;
#define RESOLVE(ret, name, params, args)                                                           \
    name##_entry = reinterpret_cast<decltype(name##_entry)>(egl->GetProcAddress(#name));           \
    all = all && name##_entry != nullptr;
    GL_FUNCTIONS(RESOLVE)
#undef RESOLVE
    return all;
}
