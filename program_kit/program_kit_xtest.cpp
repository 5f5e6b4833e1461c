// The kit's mouse reads against a real window and real pointer events.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "program_input.h"
#include "tavrel.h"
#include "test_support/test_window.h"

namespace {

// X goes on reporting a pointer dragged out of the window while the button is
// held: left of and above the window it is negative, not 65,000 pixels away.
TEST(MouseReads, ADragOutToTheLeftAndAboveReadsNegative) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    Window window = OpenTestWindow(x, 3, 6, "kit mouse");
    ASSERT_NE(window, 0u);
    FocusWindow(x, window);
    MovePointer(x, window, 100, 100);
    HoldButton(x, 1, true);
    for (int i = 1; i <= 8; i++) MovePointer(x, window, 100 - 20 * i, 100 - 20 * i);
    bool negative = false;
    for (int i = 0; i < 200 && !negative; i++) {
        negative = MouseX() == -60 && MouseY() == -60;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(negative) << MouseX() << ", " << MouseY();
    EXPECT_EQ(MouseButtons() & 1, 1);
    HoldButton(x, 1, false);
    CloseXDriver(x);
    CloseGraphWindow();
}

}  // namespace
