#include <unistd.h>

#include <cstdio>

#include "frame_pacing.h"
#include "gl_billiard.h"
#include "program_window.h"
#include "tavrel.h"

int main() {
    constexpr const char* program = "disc_billiard_gl";
    if (!OpenProgramWindow(program, 3, 4, "BILIARD 3D", true)) return 1;
    TFaultText fault;
    if (!StartGlBilliard(TickCount(), fault)) {
        char directory[4096];
        if (!getcwd(directory, sizeof directory)) std::snprintf(directory, sizeof directory, "?");
        std::fprintf(stderr, "%s: cannot use the texture %s in %s: %s\n", program, TextureFileName,
                     directory, fault.data());
        EndGlBilliard();
        SelectGlTarget(false);
        CloseGraphWindow();
        return 1;
    }
    while (!RunGlBilliardFrame()) PaceFrame();
    EndGlBilliard();
    SelectGlTarget(false);
    CloseGraphWindow();
    return 0;
}
