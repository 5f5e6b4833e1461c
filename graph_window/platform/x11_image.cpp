// The image through which the shown page reaches the window: a shared-memory
// image (MIT-SHM), or a plain XPutImage where the server cannot share memory
// (a remote display).
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "platform/x11_shared.h"

namespace TavrelInternal {
std::atomic<uint32_t> PresentCount{0};
TScreenImage ScreenImage;
}  // namespace TavrelInternal

namespace XPlatform {

namespace {

// Window thread only.
GC WindowGC = nullptr;
XImage* Image = nullptr;
XShmSegmentInfo ShmInfo{};
bool ShmAttached = false;

// Where an 8-bit component goes in a channel of the visual: its top bits, so
// that wider channels (deep colour) keep the brightness. False for channels
// narrower than 8 bits or outside 32 bits.
bool ChannelShift(unsigned long mask, uint32_t& shift) {
    int high = 31, low = 0;
    while (high >= 0 && !(mask & (1ul << high))) --high;
    while (low < 32 && !(mask & (1ul << low))) ++low;
    if ((uint64_t(mask) >> 32) || high - low + 1 < 8) return false;
    shift = uint32_t(high - 7);
    return true;
}

bool CreateShmImage(Visual* visual, int depth) {
    Image = XShmCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, nullptr, &ShmInfo,
                            unsigned(ClientWidth), unsigned(ClientHeight));
    if (!Image) return false;
    ShmInfo.shmid = shmget(IPC_PRIVATE, size_t(Image->bytes_per_line) * size_t(Image->height), IPC_CREAT | 0600);
    if (ShmInfo.shmid >= 0) {
        ShmInfo.shmaddr = static_cast<char*>(shmat(ShmInfo.shmid, nullptr, 0));
        if (ShmInfo.shmaddr != reinterpret_cast<char*>(-1)) {
            Image->data = ShmInfo.shmaddr;
            ShmInfo.readOnly = False;
            WindowXError = 0;
            XShmAttach(WindowDisplay, &ShmInfo);
            XSync(WindowDisplay, False);
            ShmAttached = WindowXError == 0;
            if (!ShmAttached) shmdt(ShmInfo.shmaddr);
        }
        // Removed once attached: the segment goes when both sides detach.
        shmctl(ShmInfo.shmid, IPC_RMID, nullptr);
    }
    if (ShmAttached) return true;
    Image->data = nullptr;
    XDestroyImage(Image);
    Image = nullptr;
    return false;
}

// Without MIT-SHM (a remote display) a plain image in our memory.
bool CreatePlainImage(Visual* visual, int depth) {
    Image = XCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(ClientWidth),
                         unsigned(ClientHeight), 32, 0);
    if (!Image) return false;
    Image->data = static_cast<char*>(std::calloc(size_t(Image->bytes_per_line) * size_t(Image->height), 1));
    return Image->data != nullptr;
}

}  // namespace

bool CreateScreenImage(Visual* visual, int depth) {
    XGCValues values{};
    values.graphics_exposures = False;
    WindowGC = XCreateGC(WindowDisplay, GraphXWindow, GCGraphicsExposures, &values);
    if (!(XShmQueryExtension(WindowDisplay) && CreateShmImage(visual, depth)) && !CreatePlainImage(visual, depth))
        return false;
    TScreenImage s;
    // The conversion writes whole 32-bit words.
    if (Image->bits_per_pixel != 32 || !ChannelShift(visual->red_mask, s.RedShift) ||
        !ChannelShift(visual->green_mask, s.GreenShift) || !ChannelShift(visual->blue_mask, s.BlueShift))
        return false;
    s.Words = reinterpret_cast<uint32_t*>(Image->data);
    s.WordsPerRow = Image->bytes_per_line / 4;
    s.Width = ClientWidth;
    s.Height = ClientHeight;
    // A 32-bit visual keeps alpha in the bits no colour uses: opaque.
    const unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    s.FixedBits = depth == 32 ? uint32_t(~colourBits) : 0;
    s.Direct = s.RedShift == 16 && s.GreenShift == 8 && s.BlueShift == 0 && s.FixedBits == 0;
    ScreenImage = s;
    return true;
}

void ReleaseScreenImage() {
    if (Image) {
        if (ShmAttached) {
            XShmDetach(WindowDisplay, &ShmInfo);
            XSync(WindowDisplay, False);
            Image->data = nullptr;  // not ours to free: the segment is detached below
            XDestroyImage(Image);
            shmdt(ShmInfo.shmaddr);
        } else {
            XDestroyImage(Image);  // frees the calloc'ed pixels too
        }
        Image = nullptr;
        ShmAttached = false;
        ScreenImage = TScreenImage{};
    }
    if (WindowGC) XFreeGC(WindowDisplay, WindowGC);
    WindowGC = nullptr;
}

}  // namespace XPlatform

using namespace XPlatform;

void PutScreenRect(const TClientRect& r) {
    const unsigned w = unsigned(r.X2 - r.X1 + 1), h = unsigned(r.Y2 - r.Y1 + 1);
    if (ShmAttached)
        XShmPutImage(WindowDisplay, GraphXWindow, WindowGC, Image, r.X1, r.Y1, r.X1, r.Y1, w, h, False);
    else
        XPutImage(WindowDisplay, GraphXWindow, WindowGC, Image, r.X1, r.Y1, r.X1, r.Y1, w, h);
    XFlush(WindowDisplay);
}

void FinishScreenPuts() {
    XSync(WindowDisplay, False);
    PresentCount.fetch_add(1);
}
