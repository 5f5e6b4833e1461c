#include "platform/gl_visual.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <array>

#include "platform/egl_contexts.h"

VisualID GlWindowVisual(Display* display, int screen) {
    SurfacelessGlDisplay();  // the driver, loaded once for the run
    const std::array<EGLAttrib, 3> where{EGL_PLATFORM_X11_SCREEN_KHR, screen, EGL_NONE};
    EGLDisplay egl = eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, display, where.data());
    if (egl == EGL_NO_DISPLAY || !eglInitialize(egl, nullptr, nullptr)) return 0;
    EGLint visual = 0;
    EGLConfig config = ChooseWindowGlConfig(egl);
    if (!config || !eglGetConfigAttrib(egl, config, EGL_NATIVE_VISUAL_ID, &visual)) visual = 0;
    eglTerminate(egl);
    eglReleaseThread();  // the window thread keeps nothing of EGL
    return static_cast<VisualID>(visual);
}
