#include "platform/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <array>
#include <chrono>
#include <climits>

#include "platform/program_display.h"
#include "platform/window_system.h"

static_assert(ShiftMask == KeyModShift && ControlMask == KeyModControl && Mod1Mask == KeyModAlt);

namespace TavrelInternal {
uint32_t KeyModifierState = 0;
}  // namespace TavrelInternal

namespace {

// Key symbols First..Last stand for the virtual keys FirstVk.. in order.
struct TKeySymRange {
    KeySym First, Last;
    uint8_t FirstVk;
};

// The one table between the X server's key symbols and the virtual-key codes
// that the key translation is written in. Several symbols may share a code.
constexpr std::array<TKeySymRange, 38> KeySymTable{{
    {XK_BackSpace, XK_Tab, 8},
    {XK_ISO_Left_Tab, XK_ISO_Left_Tab, 9},
    {XK_Clear, XK_Clear, 12},
    {XK_KP_Begin, XK_KP_Begin, 12},
    {XK_Return, XK_Return, 13},
    {XK_KP_Enter, XK_KP_Enter, 13},
    {XK_Shift_L, XK_Shift_L, 16},
    {XK_Shift_R, XK_Shift_R, 16},
    {XK_Control_L, XK_Control_L, 17},
    {XK_Control_R, XK_Control_R, 17},
    {XK_Alt_L, XK_Alt_L, 18},
    {XK_Alt_R, XK_Alt_R, 18},
    {XK_Meta_L, XK_Meta_L, 18},
    {XK_Meta_R, XK_Meta_R, 18},
    {XK_Pause, XK_Pause, 19},
    {XK_Caps_Lock, XK_Caps_Lock, 20},
    {XK_Escape, XK_Escape, 27},
    {XK_space, XK_space, 32},
    {XK_Prior, XK_End, 33},  // Prior, Next, End
    {XK_KP_Prior, XK_KP_End, 33},
    {XK_Home, XK_Home, 36},
    {XK_KP_Home, XK_KP_Home, 36},
    {XK_Left, XK_Down, 37},  // Left, Up, Right, Down
    {XK_KP_Left, XK_KP_Down, 37},
    {XK_Insert, XK_Insert, 45},
    {XK_KP_Insert, XK_KP_Delete, 45},  // Insert, Delete
    {XK_Delete, XK_Delete, 46},
    {XK_0, XK_9, 48},
    {XK_a, XK_z, 65},
    {XK_A, XK_Z, 65},
    {XK_Menu, XK_Menu, 93},
    {XK_KP_0, XK_KP_9, 96},
    {XK_KP_Multiply, XK_KP_Divide, 106},  // * + separator - . /
    {XK_F1, XK_F24, 112},
    {XK_Num_Lock, XK_Num_Lock, 144},
    {XK_Scroll_Lock, XK_Scroll_Lock, 145},
    {XK_Super_L, XK_Super_L, 91},
    {XK_Super_R, XK_Super_R, 92},
}};

bool KeyDownIsSystem(int32_t vk, bool ctrl, bool alt) {
    // Alt (without Ctrl) turns a key into a system key, and so do the Alt and
    // F10 keys themselves.
    return vk == 18 || vk == 121 || (alt && !ctrl);
}

void Append(TKeyMessages& out, uint32_t message, uint32_t wParam) {
    out.Items[out.Count++] = TWindowMessage{message, wParam, 0};
}

}  // namespace

int32_t VirtualKeyOfKeySym(KeySym sym) {
    for (const TKeySymRange& r : KeySymTable)
        if (sym >= r.First && sym <= r.Last) return static_cast<int32_t>(r.FirstVk + (sym - r.First));
    return 0;
}

int CharacterOfKey(KeySym sym, const char* text, int count, bool ctrl) {
    if (ctrl) {
        // Ctrl types control codes only from letters and @ [ \ ] ^ _ (as X
        // computes them), and a few fixed keys; digits and Tab type nothing.
        if (sym >= 0x40 && sym <= 0x7E && count == 1) return static_cast<uint8_t>(text[0]);
        switch (sym) {
            case XK_Escape: return 27;
            case XK_Return:
            case XK_KP_Enter: return 10;
            case XK_BackSpace: return 127;
            case XK_space: return 32;
            default: return -1;
        }
    }
    if (sym == XK_ISO_Left_Tab) return 9;    // Shift+Tab still types a tab
    if (sym == XK_EuroSign) return 0x80;     // the code page's euro
    if (count < 1) return -1;
    if (sym >= 0xFF00 && sym <= 0xFFFF) {
        // Of the function keys, only these type: Delete, Clear and Linefeed do not.
        const bool types = sym == XK_BackSpace || sym == XK_Tab || sym == XK_Return ||
                           sym == XK_Escape || sym == XK_KP_Enter ||
                           (sym >= XK_KP_Multiply && sym <= XK_KP_9);
        if (!types) return -1;
    }
    return static_cast<uint8_t>(text[0]);
}

void TranslateKeyPress(const XKeyEvent& event, TKeyMessages& out) {
    out.Count = 0;
    XKeyEvent copy = event;
    char text[8];
    KeySym looked = NoSymbol;
    const int count = XLookupString(&copy, text, sizeof text, &looked, nullptr);
    // The unshifted symbol names the key, as a virtual-key code does; only the
    // keypad follows Num Lock and Shift.
    const KeySym sym = IsKeypadKey(looked) ? looked : XLookupKeysym(&copy, 0);
    const int32_t vk = VirtualKeyOfKeySym(sym);

    KeyModifierState = event.state & (ShiftMask | ControlMask | Mod1Mask);
    const bool ctrl = event.state & ControlMask;
    const bool alt = event.state & Mod1Mask;
    if (vk != 0)
        Append(out, KeyDownIsSystem(vk, ctrl, alt) ? MsgSysKeyDown : MsgKeyDown,
               static_cast<uint32_t>(vk));
    if (alt) return;  // Alt+character gives only what the key translation gives
    const int c = CharacterOfKey(looked, text, count, ctrl);
    if (c >= 0) Append(out, MsgChar, static_cast<uint32_t>(c));
}

namespace {

// The keyboard as of the last query: a frame polls several keys at one
// moment, and each query is a round trip to the server.
constexpr int64_t KeymapLifetimeNs = 1000000;
char HeldKeys[32];
int64_t HeldKeysTakenNs = INT64_MIN / 2;
Display* HeldKeysDisplay = nullptr;

// The key codes of each virtual key on that display, looked up once: a lookup
// walks the whole keyboard mapping. Up to four symbols share a virtual key.
struct TVirtualKeyCodes {
    bool Known = false;
    uint8_t Count = 0;
    std::array<KeyCode, 4> Codes{};
};
std::array<TVirtualKeyCodes, 256> VirtualKeyCodes;

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const TVirtualKeyCodes& CodesOf(Display* display, int32_t virtualKey) {
    TVirtualKeyCodes& entry = VirtualKeyCodes[static_cast<size_t>(virtualKey)];
    if (entry.Known) return entry;
    entry = TVirtualKeyCodes{};
    for (const TKeySymRange& r : KeySymTable) {
        if (virtualKey < r.FirstVk || virtualKey > r.FirstVk + static_cast<int32_t>(r.Last - r.First))
            continue;
        const KeyCode code = XKeysymToKeycode(display, r.First + (virtualKey - r.FirstVk));
        if (code != 0 && entry.Count < entry.Codes.size()) entry.Codes[entry.Count++] = code;
    }
    entry.Known = true;
    return entry;
}

}  // namespace

bool KeyIsHeld(int32_t virtualKey) {
    Display* display = ProgramDisplay();
    if (!display || virtualKey < 0 || virtualKey > 255) return false;
    const int64_t now = NowNs();
    if (display != HeldKeysDisplay) {
        for (TVirtualKeyCodes& entry : VirtualKeyCodes) entry.Known = false;
        HeldKeysTakenNs = INT64_MIN / 2;
    }
    if (display != HeldKeysDisplay || now - HeldKeysTakenNs >= KeymapLifetimeNs) {
        XQueryKeymap(display, HeldKeys);
        HeldKeysDisplay = display;
        HeldKeysTakenNs = now;
    }
    const TVirtualKeyCodes& keys = CodesOf(display, virtualKey);
    for (uint8_t i = 0; i < keys.Count; ++i) {
        const KeyCode code = keys.Codes[i];
        if (HeldKeys[code / 8] & (1 << (code % 8))) return true;
    }
    return false;
}
