#include "test_support/test_window.h"

#include "tavrel.h"

Window OpenTestWindow(TXDriver& driver, int16_t graphDriver, int16_t mode, const char* caption, int timeoutMs) {
    OpenGraphWindow(graphDriver, mode, caption);
    if (ResultCode != 0) return 0;
    const Window w = FindWindowByCaption(driver, caption[0] ? caption : "Tavrel 1.1", timeoutMs);
    if (!w || !WaitWindowMapped(driver, w, timeoutMs)) return 0;
    return w;
}
