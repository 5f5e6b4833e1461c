// OpenGraphWindow returns only once the window is on the screen and has the
// keyboard focus, so that a program's first frame and first key are not lost.
#include <gtest/gtest.h>

#include <string>

#include "platform/x11_window.h"
#include "tavrel.h"
#include "test_support/xdriver.h"

namespace {

TEST(WindowShown, ViewableAndFocusedWhenEachOfTwentyOpensReturns) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    for (int i = 0; i < 20; ++i) {
        const std::string caption = "shown " + std::to_string(i);
        int16_t driver = i % 2 ? 9 : 3, mode = i % 3 ? 6 : 4;
        OpenGraphWindow(driver, mode, caption.c_str());
        ASSERT_TRUE(GraphWindowIsOpen()) << "open " << i << ": " << ResultCode;
        // Asked at once, before anything else could give the window time.
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x.Dpy, &focus, &revert);
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(x.Dpy, GraphXWindow, &attributes));
        EXPECT_EQ(attributes.map_state, IsViewable) << "open " << i;
        EXPECT_EQ(focus, GraphXWindow) << "open " << i;
        EXPECT_EQ(FindWindowByCaption(x, caption.c_str(), 0), GraphXWindow) << "open " << i;
        CloseGraphWindow();
        EXPECT_EQ(ResultCode, 0);
    }
    CloseXDriver(x);
}

}  // namespace
