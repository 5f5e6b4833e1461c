#define GL_GLEXT_PROTOTYPES 1
#include "platform/egl_contexts.h"

#include <EGL/eglext.h>
#include <GL/glext.h>
#include <malloc.h>

#include <array>

namespace {

EGLDisplay InitializedDisplay(EGLenum platform, void* native) {
    EGLDisplay display = eglGetPlatformDisplay(platform, native, nullptr);
    if (display == EGL_NO_DISPLAY) return EGL_NO_DISPLAY;
    if (!eglInitialize(display, nullptr, nullptr)) return EGL_NO_DISPLAY;
    return display;
}

// Renderbuffer storage for the bitmap context's depth: 32 bits as the window
// asks for, 24 where 32 cannot be had.
bool AttachDepthBuffer(GLuint buffer, int32_t width, int32_t height) {
    glBindRenderbuffer(GL_RENDERBUFFER, buffer);
    for (GLenum format : {GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT24}) {
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffer);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return true;
    }
    return false;
}

// Without a GPU the driver renders in software and frees and allocates its
// per-draw memory again and again each frame. With glibc's default limits
// each free gives the top of the heap back to the kernel and the next
// allocation faults it in again as fresh zeroed pages: hundreds of times a
// frame, a third of a frame's time. Keeping up to 256 MB free at the top,
// grown 64 MB at a time, lets the driver reuse its pages. Set once, when the
// driver is loaded, so that programs need no environment variable for it.
void KeepHeapForTheDriver() {
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 64 << 20);
}

}  // namespace

EGLDisplay SurfacelessGlDisplay() {
    static const EGLDisplay display = [] {
        KeepHeapForTheDriver();
        return InitializedDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY);
    }();
    return display;
}

EGLConfig ChooseWindowGlConfig(EGLDisplay display) {
    // The deepest depth buffer on offer, up to 32 bits.
    for (EGLint depth : {32, 24, 16}) {
        const std::array<EGLint, 13> wanted{EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                                            EGL_OPENGL_BIT,   EGL_RED_SIZE,   8,
                                            EGL_GREEN_SIZE,   8,              EGL_BLUE_SIZE,
                                            8,                EGL_DEPTH_SIZE, depth,
                                            EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        if (eglChooseConfig(display, wanted.data(), &config, 1, &count) && count > 0) return config;
    }
    return nullptr;
}

bool CreateWindowGlContext(TGlContexts& gl, Display* display, Window window) {
    gl.WindowDisplay = InitializedDisplay(EGL_PLATFORM_X11_KHR, display);
    if (gl.WindowDisplay == EGL_NO_DISPLAY) return false;
    EGLConfig config = ChooseWindowGlConfig(gl.WindowDisplay);
    if (!config || !eglBindAPI(EGL_OPENGL_API)) return false;
    gl.WindowSurface = eglCreatePlatformWindowSurface(gl.WindowDisplay, config, &window, nullptr);
    if (gl.WindowSurface == EGL_NO_SURFACE) return false;
    gl.WindowContext = eglCreateContext(gl.WindowDisplay, config, EGL_NO_CONTEXT, nullptr);
    return gl.WindowContext != EGL_NO_CONTEXT;
}

bool CreateBitmapGlContext(TGlContexts& gl, int32_t width, int32_t height) {
    gl.BitmapDisplay = SurfacelessGlDisplay();
    if (gl.BitmapDisplay == EGL_NO_DISPLAY) return false;
    // No surface will be made: any surface type will do.
    const std::array<EGLint, 5> wanted{EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(gl.BitmapDisplay, wanted.data(), &config, 1, &count) || count < 1) return false;
    if (!eglBindAPI(EGL_OPENGL_API)) return false;
    gl.BitmapContext = eglCreateContext(gl.BitmapDisplay, config, EGL_NO_CONTEXT, nullptr);
    if (gl.BitmapContext == EGL_NO_CONTEXT || !MakeBitmapGlCurrent(gl)) return false;

    gl.Width = width;
    gl.Height = height;
    glGenFramebuffers(1, &gl.Framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, gl.Framebuffer);
    glGenRenderbuffers(1, &gl.ColorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, gl.ColorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, gl.ColorBuffer);
    glGenRenderbuffers(1, &gl.DepthBuffer);
    const bool complete = AttachDepthBuffer(gl.DepthBuffer, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    // Without a surface the viewport starts empty; a context drawing into a
    // bitmap starts with the bitmap's size.
    glViewport(0, 0, width, height);
    return complete;
}

bool MakeWindowGlCurrent(const TGlContexts& gl) {
    return gl.WindowContext != EGL_NO_CONTEXT &&
           eglMakeCurrent(gl.WindowDisplay, gl.WindowSurface, gl.WindowSurface, gl.WindowContext);
}

bool MakeBitmapGlCurrent(const TGlContexts& gl) {
    return gl.BitmapContext != EGL_NO_CONTEXT &&
           eglMakeCurrent(gl.BitmapDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, gl.BitmapContext);
}

void SwapWindowGlBuffers(const TGlContexts& gl) {
    if (gl.WindowSurface != EGL_NO_SURFACE) eglSwapBuffers(gl.WindowDisplay, gl.WindowSurface);
}

void ReadBitmapGlPixels(const TGlContexts& gl, uint8_t* pixels) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gl.Framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, gl.Width, gl.Height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

void DestroyGlContexts(TGlContexts& gl) {
    for (EGLDisplay display : {gl.WindowDisplay, gl.BitmapDisplay})
        if (display != EGL_NO_DISPLAY)
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (gl.WindowContext != EGL_NO_CONTEXT) eglDestroyContext(gl.WindowDisplay, gl.WindowContext);
    if (gl.WindowSurface != EGL_NO_SURFACE) eglDestroySurface(gl.WindowDisplay, gl.WindowSurface);
    if (gl.BitmapContext != EGL_NO_CONTEXT) eglDestroyContext(gl.BitmapDisplay, gl.BitmapContext);
    if (gl.WindowDisplay != EGL_NO_DISPLAY) eglTerminate(gl.WindowDisplay);
    eglReleaseThread();
    gl = TGlContexts{};
}
