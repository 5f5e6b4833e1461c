// The two OpenGL contexts of the window, on EGL: a double-buffered context
// drawing into the X window, and a context without a surface whose drawing
// goes to a framebuffer object of the client size, read back into the draw
// page. Program thread only.
#pragma once

#include <EGL/egl.h>
#include <GL/gl.h>
#include <X11/Xlib.h>

#include <cstdint>

struct TGlContexts {
    EGLDisplay WindowDisplay = EGL_NO_DISPLAY;  // on the program thread's X connection
    EGLSurface WindowSurface = EGL_NO_SURFACE;
    EGLContext WindowContext = EGL_NO_CONTEXT;
    EGLDisplay BitmapDisplay = EGL_NO_DISPLAY;  // SurfacelessGlDisplay()
    EGLContext BitmapContext = EGL_NO_CONTEXT;
    GLuint Framebuffer = 0, ColorBuffer = 0, DepthBuffer = 0;
    int32_t Width = 0, Height = 0;
};

// The display of the bitmap contexts, initialized on first use (from any
// thread) and kept for the whole run: while it is initialized the driver stays
// loaded, so that neither each window nor the window thread's visual query
// loads and unloads it again. EGL_NO_DISPLAY without OpenGL.
EGLDisplay SurfacelessGlDisplay();

// The configuration of the window context on this EGL display, nullptr when
// there is none: double-buffered RGB, 8 bits a channel, with a depth buffer.
EGLConfig ChooseWindowGlConfig(EGLDisplay display);

// Each returns false, leaving what it could not create empty.
bool CreateWindowGlContext(TGlContexts& gl, Display* display, Window window);
bool CreateBitmapGlContext(TGlContexts& gl, int32_t width, int32_t height);

bool MakeWindowGlCurrent(const TGlContexts& gl);
bool MakeBitmapGlCurrent(const TGlContexts& gl);
void SwapWindowGlBuffers(const TGlContexts& gl);
// The framebuffer object's pixels as bytes B, G, R, A, bottom row first.
void ReadBitmapGlPixels(const TGlContexts& gl, uint8_t* pixels);

// Makes no context current and destroys everything that was created.
void DestroyGlContexts(TGlContexts& gl);
