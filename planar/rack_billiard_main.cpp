#include "flat_billiards.h"
#include "frame_pacing.h"
#include "program_window.h"
#include "tavrel.h"

constexpr uint8_t KeyEsc = 27;

int main() {
    if (!OpenProgramWindow("rack_billiard", 3, RackBilliard.Mode, RackBilliard.Caption)) return 1;
    StartRackBilliard();
    while (RunRackBilliardFrame() != KeyEsc) PaceFrame();
    CloseGraphWindow();
    return 0;
}
