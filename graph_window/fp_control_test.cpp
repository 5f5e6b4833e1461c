#include "platform/fp_control.h"

#include <gtest/gtest.h>

#include <cfenv>

namespace {

#if defined(__x86_64__) || defined(__i386__)
TEST(FpControl, RestoreBringsBackBothWordsAndClearsPendingExceptions) {
    const TFpControl original = SaveFpControl();
    TFpControl program = original;
    program.X87 = static_cast<uint16_t>((original.X87 & ~0x0300u) | 0x0200u);   // 53-bit precision
    program.Mxcsr = (original.Mxcsr & ~0x6000u) | 0x6000u;                      // round toward zero
    RestoreFpControl(program);

    const TFpControl saved = SaveFpControl();
    TFpControl driver = saved;
    driver.X87 = 0x037F;
    driver.Mxcsr = 0x9FC0;  // what a driver may set: flush to zero, denormals are zero
    RestoreFpControl(driver);
    volatile double zero = 0.0;
    volatile double x = 1.0 / zero;  // raises a division-by-zero flag
    (void)x;
    RestoreFpControl(saved);

    const TFpControl now = SaveFpControl();
    EXPECT_EQ(now.X87, program.X87);
    EXPECT_EQ(now.Mxcsr, program.Mxcsr);
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO));
    RestoreFpControl(original);
}
#endif

}  // namespace
