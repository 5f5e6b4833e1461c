// The window's two OpenGL contexts as the graphics unit asks for them: on the
// graph window through the program thread's own X connection, and without a
// surface for the bitmap target.
#include "platform/egl_contexts.h"
#include "platform/program_display.h"
#include "platform/x11_window.h"

namespace {
TGlContexts Gl;  // program thread only
}

bool CreateWindowGl() {
    Display* display = ProgramDisplay();
    return display && GraphXWindow && CreateWindowGlContext(Gl, display, GraphXWindow);
}

bool CreateBitmapGl(int32_t width, int32_t height) { return CreateBitmapGlContext(Gl, width, height); }

bool MakeWindowGlCurrent() { return MakeWindowGlCurrent(Gl); }

bool MakeBitmapGlCurrent() { return MakeBitmapGlCurrent(Gl); }

void SwapWindowGl() { SwapWindowGlBuffers(Gl); }

void ReadBitmapGl(uint8_t* pixels) { ReadBitmapGlPixels(Gl, pixels); }

void ReleaseGl() {
    DestroyGlContexts(Gl);
    CloseProgramDisplay();
}
