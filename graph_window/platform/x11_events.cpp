// The window thread's message loop: requests of the program thread, X events
// turned into the window procedure's messages, and the paint of what the
// program thread asked to be shown.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/x11_keys.h"
#include "platform/x11_shared.h"

namespace XPlatform {

int WakeFd = -1;
std::atomic<bool> UserMessagePosted{false}, ShowPosted{false};
std::atomic<bool> WindowMapped{false}, WindowFocused{false};

namespace {

std::mutex UpdateLock;
bool UpdatePending = false;  // guarded by UpdateLock
TClientRect UpdateRect{};    // guarded by UpdateLock

// Merges a rectangle (any corners) into the pending update, clipped to the
// client; true when it made the pending update non-empty.
bool MergeUpdateRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width - 1);
    y2 = std::min(y2, height - 1);
    if (x1 > x2 || y1 > y2) return false;
    std::lock_guard<std::mutex> lock(UpdateLock);
    if (!UpdatePending) UpdateRect = {0, 0, -1, -1};
    WidenClientRect(UpdateRect, x1, y1, x2, y2);
    return !std::exchange(UpdatePending, true);
}

bool UpdateIsPending() {
    std::lock_guard<std::mutex> lock(UpdateLock);
    return UpdatePending;
}

// Into the foreground: without a window manager nobody else gives the focus,
// and with one the request fails while the frame is not yet viewable, so it
// is repeated until the focus arrives.
void AskForFocus() { XSetInputFocus(WindowDisplay, GraphXWindow, RevertToParent, CurrentTime); }

uint32_t MouseFlags(unsigned state) {
    uint32_t flags = 0;
    if (state & Button1Mask) flags |= MkLButton;
    if (state & Button3Mask) flags |= MkRButton;
    if (state & Button2Mask) flags |= MkMButton;
    if (state & ShiftMask) flags |= MkShift;
    if (state & ControlMask) flags |= MkControl;
    return flags;
}

uint32_t PackPoint(int x, int y) { return (uint32_t(uint16_t(y)) << 16) | uint16_t(x); }

// Buttons 1 to 3 and the wheel (4 up, 5 down). The flags describe the state
// after the event, so that a release no longer holds its own button.
void DispatchButton(const XButtonEvent& e, bool press) {
    const uint32_t point = PackPoint(e.x, e.y);
    if (e.button == Button4 || e.button == Button5) {
        if (!press) return;
        const uint16_t delta = e.button == Button4 ? 120 : uint16_t(-120);
        Dispatch(MsgMouseWheel, (uint32_t(delta) << 16) | MouseFlags(e.state), point);
        return;
    }
    if (e.button < Button1 || e.button > Button3) return;
    const unsigned mask = Button1Mask << (e.button - Button1);
    const unsigned state = press ? e.state | mask : e.state & ~mask;
    static constexpr uint32_t downs[3] = {MsgLButtonDown, MsgMButtonDown, MsgRButtonDown};
    static constexpr uint32_t ups[3] = {MsgLButtonUp, MsgMButtonUp, MsgRButtonUp};
    Dispatch(press ? downs[e.button - Button1] : ups[e.button - Button1], MouseFlags(state), point);
}

void DispatchXEvent(XEvent& e) {
    switch (e.type) {
    case Expose:
        MergeUpdateRect(e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width - 1,
                        e.xexpose.y + e.xexpose.height - 1, ClientWidth, ClientHeight);
        break;
    case ClientMessage:
        if (e.xclient.message_type == WmProtocols && Atom(e.xclient.data.l[0]) == WmDeleteWindow)
            Dispatch(MsgClose, 0, 0);
        break;
    case KeyPress: {
        TKeyMessages messages;
        TranslateKeyPress(e.xkey, messages);
        for (int i = 0; i < messages.Count; ++i)
            Dispatch(messages.Items[i].Message, messages.Items[i].WParam, messages.Items[i].LParam);
        break;
    }
    case ButtonPress:
    case ButtonRelease:
        DispatchButton(e.xbutton, e.type == ButtonPress);
        break;
    case MotionNotify:
        Dispatch(MsgMouseMove, MouseFlags(e.xmotion.state), PackPoint(e.xmotion.x, e.xmotion.y));
        break;
    case MapNotify:
        WindowMapped = true;
        AskForFocus();
        break;
    case UnmapNotify:
        WindowMapped = false;
        break;
    case FocusIn:
        if (e.xfocus.detail != NotifyPointer) WindowFocused = true;
        break;
    case FocusOut:
        if (e.xfocus.detail != NotifyPointer) WindowFocused = false;
        break;
    default:
        break;
    }
}

}  // namespace

void Wake() {
    const uint64_t one = 1;
    if (write(WakeFd, &one, sizeof one) < 0) {
        // The counter can only be full if nobody reads it; the thread wakes anyway.
    }
}

uint32_t Dispatch(uint32_t message, uint32_t wParam, uint32_t lParam) {
    return WindowProc(uint32_t(GraphXWindow), message, wParam, lParam);
}

void ForgetPaintRequests() {
    std::lock_guard<std::mutex> lock(UpdateLock);
    UpdatePending = false;
}

uint16_t RunMessageLoop() {
    pollfd fds[2] = {{ConnectionNumber(WindowDisplay), POLLIN, 0}, {WakeFd, POLLIN, 0}};
    bool showing = false;  // shown, and the focus not yet there
    while (!QuitPosted) {
        if (UserMessagePosted.exchange(false)) {
            Dispatch(MsgUser, 0, 0);
            continue;
        }
        if (ShowPosted.exchange(false)) {
            XMapRaised(WindowDisplay, GraphXWindow);
            showing = true;
        }
        while (!QuitPosted && XPending(WindowDisplay) > 0) {
            XEvent e;
            XNextEvent(WindowDisplay, &e);
            DispatchXEvent(e);
        }
        if (QuitPosted) break;
        if (UpdateIsPending()) Dispatch(MsgPaint, 0, 0);
        // The put's XSync may have queued events that poll cannot see.
        if (XPending(WindowDisplay) > 0) continue;
        if (showing && WindowFocused) showing = false;
        if (showing && WindowMapped) AskForFocus();
        if (poll(fds, 2, showing ? 20 : -1) > 0 && (fds[1].revents & POLLIN)) {
            uint64_t count;
            if (read(WakeFd, &count, sizeof count) < 0) {
                // Nonblocking: nothing was there after all.
            }
        }
    }
    return QuitCode;
}

}  // namespace XPlatform

using namespace XPlatform;

void RequestPaint(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height) {
    if (WakeFd < 0) return;
    // Only the first request of a batch wakes the thread; the rest join it.
    if (MergeUpdateRect(x1, y1, x2, y2, width, height)) Wake();
}

bool TakeUpdateRect(TClientRect& rect) {
    std::lock_guard<std::mutex> lock(UpdateLock);
    if (!UpdatePending) return false;
    UpdatePending = false;
    rect = UpdateRect;
    return true;
}
