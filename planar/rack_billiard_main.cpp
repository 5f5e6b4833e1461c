#include "flat_billiards.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_window.h"
#include "tavrel.h"

int main() {
    if (!OpenProgramWindow("rack_billiard", 3, RackBilliard.Mode, RackBilliard.Caption)) return 1;
    StartRackBilliard();
    while (RunRackBilliardFrame() != KeyEsc) PaceFrame();
    CloseGraphWindow();
    return 0;
}
