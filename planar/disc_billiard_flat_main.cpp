#include "flat_billiards.h"
#include "frame_pacing.h"
#include "program_window.h"
#include "tavrel.h"

int main() {
    if (!OpenProgramWindow("disc_billiard_flat", 3, FlatBilliard.Mode, FlatBilliard.Caption)) return 1;
    StartFlatBilliard(TickCount());
    while (!RunFlatBilliardFrame()) PaceFrame();
    CloseGraphWindow();
    return 0;
}
