#include "platform/fp_control.h"

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)

TFpControl SaveFpControl() {
    TFpControl saved;
    __asm__ volatile("fnstcw %0" : "=m"(saved.X87));
    __asm__ volatile("stmxcsr %0" : "=m"(saved.Mxcsr));
    return saved;
}

void RestoreFpControl(const TFpControl& saved) {
    __asm__ volatile("fnclex");
    __asm__ volatile("fldcw %0" : : "m"(saved.X87));
    __asm__ volatile("ldmxcsr %0" : : "m"(saved.Mxcsr));
}

#else

// Elsewhere the C environment stands in for both words.
namespace {
std::fenv_t SavedEnvironment;
}

TFpControl SaveFpControl() {
    std::fegetenv(&SavedEnvironment);
    return TFpControl{};
}

void RestoreFpControl(const TFpControl&) {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetenv(&SavedEnvironment);
}

#endif
