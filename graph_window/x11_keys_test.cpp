// gtest goes before the X headers, whose macros (None, Bool) clash with it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstring>
#include <set>
#include <vector>

#include "keyboard_unit.h"
#include "platform/x11_keys.h"
#include "test_support/key_queue_bytes.h"

namespace {

using Bytes = TKeyBytes;

// What one key queues under one set of modifiers: First > 0 the pair 0,
// First; First < 0 the lone byte -First; Second > 0 a second pair after it.
struct TQueued {
    int First = 0, Second = 0;
};

Bytes BytesOf(const TQueued& q) {
    Bytes out;
    if (q.First < 0) out.push_back(static_cast<uint8_t>(-q.First));
    if (q.First > 0) out.insert(out.end(), {0, static_cast<uint8_t>(q.First)});
    if (q.Second > 0) out.insert(out.end(), {0, static_cast<uint8_t>(q.Second)});
    return out;
}

// The modifier sets of the columns below, in their order.
constexpr uint32_t Modifiers[8] = {0,
                                   KeyModShift,
                                   KeyModControl,
                                   KeyModControl | KeyModShift,
                                   KeyModAlt,
                                   KeyModAlt | KeyModShift,
                                   KeyModControl | KeyModAlt,
                                   KeyModControl | KeyModAlt | KeyModShift};

struct TKeyRow {
    int32_t Vk;
    std::vector<KeySym> Syms;  // every key symbol that stands for the key, keypad ones included
    TQueued Queued[8];         // none, Shift, Ctrl, Ctrl+Shift, Alt, Alt+Shift, Ctrl+Alt, all three
};

// The whole key translation. The keypad gives the navigation symbols with Num
// Lock off and the digit ones with it on.
const std::vector<TKeyRow>& TranslationTable() {
    static const std::vector<TKeyRow> rows = {
        {8, {XK_BackSpace}, {{}, {}, {}, {}, {14}, {14}, {14}, {14}}},  // Backspace
        {9, {XK_Tab, XK_ISO_Left_Tab}, {{}, {}, {-30}, {-30}, {}, {}, {-30}, {-30}}},  // Tab: Ctrl gives the lone byte 30
        {12, {XK_Clear, XK_KP_Begin}, {{76}, {76}, {143}, {143}, {76}, {76}, {143}, {143}}},  // Clear
        {13, {XK_Return, XK_KP_Enter}, {{}, {}, {}, {}, {166}, {166}, {166}, {166}}},  // Enter
        {19, {XK_Pause}, {{12}, {12}, {}, {}, {169}, {169}, {169}, {169}}},  // Pause: Alt before Ctrl
        {32, {XK_space}, {{}, {}, {}, {}, {11}, {11}, {11}, {11}}},  // Space
        {33, {XK_Prior, XK_KP_Prior}, {{73}, {73}, {132}, {132}, {153}, {153}, {132}, {132}}},
        {34, {XK_Next, XK_KP_Next}, {{81}, {81}, {118}, {118}, {161}, {161}, {118}, {118}}},
        {35, {XK_End, XK_KP_End}, {{79}, {79}, {117}, {117}, {165}, {165}, {117}, {117}}},
        {36, {XK_Home, XK_KP_Home}, {{71}, {71}, {119}, {119}, {164}, {164}, {119}, {119}}},
        {37, {XK_Left, XK_KP_Left}, {{75}, {75}, {115}, {115}, {155}, {155}, {115}, {115}}},
        {38, {XK_Up, XK_KP_Up}, {{72}, {72}, {141}, {141}, {152}, {152}, {141}, {141}}},
        {39, {XK_Right, XK_KP_Right}, {{77}, {77}, {116}, {116}, {157}, {157}, {116}, {116}}},
        {40, {XK_Down, XK_KP_Down}, {{80}, {80}, {145}, {145}, {160}, {160}, {145}, {145}}},
        {45, {XK_Insert, XK_KP_Insert}, {{82}, {82}, {146}, {146}, {162}, {162}, {146}, {146}}},
        {46, {XK_Delete, XK_KP_Delete}, {{83}, {83}, {147}, {147}, {163}, {163}, {147}, {147}}},
        {93, {XK_Menu}, {{151}, {151}, {151}, {151}, {151}, {151}, {151}, {151}}},  // Application menu
        {106, {XK_KP_Multiply}, {{}, {}, {149}, {149}, {70}, {70}, {149}, {149}}},
        {107, {XK_KP_Add}, {{}, {}, {144}, {144}, {78}, {78}, {144}, {144}}},
        {109, {XK_KP_Subtract}, {{}, {}, {142}, {142}, {74}, {74}, {142}, {142}}},
        {110, {XK_KP_Decimal}, {{}, {}, {150}, {150}, {114}, {114}, {150}, {150}}},
        {111, {XK_KP_Divide}, {{}, {}, {148}, {148}, {69}, {69}, {148}, {148}}},
        {112, {XK_F1}, {{59}, {84}, {94}, {84}, {104}, {84}, {94}, {84}}},
        {113, {XK_F2}, {{60}, {85}, {95}, {85}, {105}, {85}, {95}, {85}}},
        {114, {XK_F3}, {{61}, {86}, {96}, {86}, {106}, {86}, {96}, {86}}},
        {115, {XK_F4}, {{62}, {87}, {97}, {87}, {107}, {87}, {97}, {87}}},
        {116, {XK_F5}, {{63}, {88}, {98}, {88}, {108}, {88}, {98}, {88}}},
        {117, {XK_F6}, {{64}, {89}, {99}, {89}, {109}, {89}, {99}, {89}}},
        {118, {XK_F7}, {{65}, {90}, {100}, {90}, {110}, {90}, {100}, {90}}},
        {119, {XK_F8}, {{66}, {91}, {101}, {91}, {111}, {91}, {101}, {91}}},
        {120, {XK_F9}, {{67}, {92}, {102}, {92}, {112}, {92}, {102}, {92}}},
        {121, {XK_F10}, {{68}, {93}, {103}, {93}, {113}, {93}, {103}, {93}}},
        {122, {XK_F11}, {{133}, {135}, {137}, {135}, {139}, {135}, {137}, {135}}},
        {123, {XK_F12}, {{134}, {136}, {138}, {136}, {140}, {136}, {138}, {136}}},
        {48, {XK_0}, {{}, {}, {10}, {10}, {129}, {129}, {10, 129}, {10, 129}}},
        {49, {XK_1}, {{}, {}, {1}, {1}, {120}, {120}, {1, 120}, {1, 120}}},
        {50, {XK_2}, {{}, {}, {2}, {2}, {121}, {121}, {2, 121}, {2, 121}}},
        {51, {XK_3}, {{}, {}, {3}, {3}, {122}, {122}, {3, 122}, {3, 122}}},
        {52, {XK_4}, {{}, {}, {4}, {4}, {123}, {123}, {4, 123}, {4, 123}}},
        {53, {XK_5}, {{}, {}, {5}, {5}, {124}, {124}, {5, 124}, {5, 124}}},
        {54, {XK_6}, {{}, {}, {6}, {6}, {125}, {125}, {6, 125}, {6, 125}}},
        {55, {XK_7}, {{}, {}, {7}, {7}, {126}, {126}, {7, 126}, {7, 126}}},
        {56, {XK_8}, {{}, {}, {8}, {8}, {127}, {127}, {8, 127}, {8, 127}}},
        {57, {XK_9}, {{}, {}, {9}, {9}, {128}, {128}, {9, 128}, {9, 128}}},
        {65, {XK_a, XK_A}, {{}, {}, {}, {}, {30}, {30}, {30}, {30}}},
        {66, {XK_b, XK_B}, {{}, {}, {}, {}, {48}, {48}, {48}, {48}}},
        {67, {XK_c, XK_C}, {{}, {}, {}, {}, {46}, {46}, {46}, {46}}},
        {68, {XK_d, XK_D}, {{}, {}, {}, {}, {32}, {32}, {32}, {32}}},
        {69, {XK_e, XK_E}, {{}, {}, {}, {}, {18}, {18}, {18}, {18}}},
        {70, {XK_f, XK_F}, {{}, {}, {}, {}, {33}, {33}, {33}, {33}}},
        {71, {XK_g, XK_G}, {{}, {}, {}, {}, {34}, {34}, {34}, {34}}},
        {72, {XK_h, XK_H}, {{}, {}, {}, {}, {35}, {35}, {35}, {35}}},
        {73, {XK_i, XK_I}, {{}, {}, {}, {}, {23}, {23}, {23}, {23}}},
        {74, {XK_j, XK_J}, {{}, {}, {}, {}, {36}, {36}, {36}, {36}}},
        {75, {XK_k, XK_K}, {{}, {}, {}, {}, {37}, {37}, {37}, {37}}},
        {76, {XK_l, XK_L}, {{}, {}, {}, {}, {38}, {38}, {38}, {38}}},
        {77, {XK_m, XK_M}, {{}, {}, {}, {}, {50}, {50}, {50}, {50}}},
        {78, {XK_n, XK_N}, {{}, {}, {}, {}, {49}, {49}, {49}, {49}}},
        {79, {XK_o, XK_O}, {{}, {}, {}, {}, {24}, {24}, {24}, {24}}},
        {80, {XK_p, XK_P}, {{}, {}, {}, {}, {25}, {25}, {25}, {25}}},
        {81, {XK_q, XK_Q}, {{}, {}, {}, {}, {16}, {16}, {16}, {16}}},
        {82, {XK_r, XK_R}, {{}, {}, {}, {}, {19}, {19}, {19}, {19}}},
        {83, {XK_s, XK_S}, {{}, {}, {}, {}, {31}, {31}, {31}, {31}}},
        {84, {XK_t, XK_T}, {{}, {}, {}, {}, {20}, {20}, {20}, {20}}},
        {85, {XK_u, XK_U}, {{}, {}, {}, {}, {22}, {22}, {22}, {22}}},
        {86, {XK_v, XK_V}, {{}, {}, {}, {}, {47}, {47}, {47}, {47}}},
        {87, {XK_w, XK_W}, {{}, {}, {}, {}, {17}, {17}, {17}, {17}}},
        {88, {XK_x, XK_X}, {{}, {}, {}, {}, {45}, {45}, {45}, {45}}},
        {89, {XK_y, XK_Y}, {{}, {}, {}, {}, {21}, {21}, {21}, {21}}},
        {90, {XK_z, XK_Z}, {{}, {}, {}, {}, {44}, {44}, {44}, {44}}},

        // Keys that queue nothing themselves, Num Lock's keypad digits among them.
        {27, {XK_Escape}, {}},
        {16, {XK_Shift_L, XK_Shift_R}, {}},
        {17, {XK_Control_L, XK_Control_R}, {}},
        {18, {XK_Alt_L, XK_Alt_R}, {}},
        {20, {XK_Caps_Lock}, {}},
        {96, {XK_KP_0}, {}},
        {97, {XK_KP_1}, {}},
        {98, {XK_KP_2}, {}},
        {99, {XK_KP_3}, {}},
        {100, {XK_KP_4}, {}},
        {101, {XK_KP_5}, {}},
        {102, {XK_KP_6}, {}},
        {103, {XK_KP_7}, {}},
        {104, {XK_KP_8}, {}},
        {105, {XK_KP_9}, {}},
        {135, {XK_F24}, {}},
        {0, {XK_exclam, XK_adiaeresis, NoSymbol}, {}},
    };
    return rows;
}

Bytes Translate(int32_t vk, uint32_t modifiers) {
    ResetKeyQueue();
    KeyModifierState = modifiers;
    TranslateVirtualKey(vk);
    KeyModifierState = 0;
    return DrainKeyQueue();
}

TEST(KeyTranslation, EveryKeyEveryModifierBothKeypadStates) {
    std::set<int32_t> listed;
    for (const TKeyRow& row : TranslationTable()) {
        listed.insert(row.Vk);
        for (KeySym sym : row.Syms) EXPECT_EQ(VirtualKeyOfKeySym(sym), row.Vk) << XKeysymToString(sym);
        for (int m = 0; m < 8; ++m)
            EXPECT_EQ(Translate(row.Vk, Modifiers[m]), BytesOf(row.Queued[m]))
                << "vk " << row.Vk << " modifiers " << Modifiers[m];
    }
    // Every other virtual key queues nothing, whatever is held.
    for (int32_t vk = -1; vk <= 256; ++vk) {
        if (listed.count(vk)) continue;
        for (uint32_t modifiers : Modifiers)
            EXPECT_TRUE(Translate(vk, modifiers).empty()) << "vk " << vk << " modifiers " << modifiers;
    }
}

int Char(KeySym sym, const char* text) {
    return CharacterOfKey(sym, text, static_cast<int>(std::strlen(text)), false);
}

TEST(KeyCharacters, AsTheWindowSystemTypesThem) {
    EXPECT_EQ(Char(XK_a, "a"), 'a');
    EXPECT_EQ(Char(XK_A, "A"), 'A');
    EXPECT_EQ(Char(XK_eacute, "\xE9"), 0xE9);  // Latin-1 is the code page's lower half
    EXPECT_EQ(Char(XK_Return, "\r"), 13);
    EXPECT_EQ(Char(XK_KP_Enter, "\r"), 13);
    EXPECT_EQ(Char(XK_Escape, "\x1B"), 27);
    EXPECT_EQ(Char(XK_BackSpace, "\b"), 8);
    EXPECT_EQ(Char(XK_Tab, "\t"), 9);
    EXPECT_EQ(CharacterOfKey(XK_ISO_Left_Tab, "", 0, false), 9);
    EXPECT_EQ(Char(XK_KP_Multiply, "*"), '*');
    EXPECT_EQ(Char(XK_KP_7, "7"), '7');
    EXPECT_EQ(CharacterOfKey(XK_EuroSign, "", 0, false), 0x80);
    // Keys that type nothing although X gives them a byte, and keys without one.
    EXPECT_EQ(Char(XK_Delete, "\x7F"), -1);
    EXPECT_EQ(Char(XK_Clear, "\x0B"), -1);
    EXPECT_EQ(CharacterOfKey(XK_F1, "", 0, false), -1);
    EXPECT_EQ(CharacterOfKey(XK_Up, "", 0, false), -1);
}

TEST(KeyCharacters, WithCtrl) {
    EXPECT_EQ(CharacterOfKey(XK_a, "\x01", 1, true), 1);
    EXPECT_EQ(CharacterOfKey(XK_Z, "\x1A", 1, true), 26);
    EXPECT_EQ(CharacterOfKey(XK_at, "\0", 1, true), 0);  // a character message carrying 0
    EXPECT_EQ(CharacterOfKey(XK_bracketleft, "\x1B", 1, true), 27);
    EXPECT_EQ(CharacterOfKey(XK_Escape, "\x1B", 1, true), 27);
    EXPECT_EQ(CharacterOfKey(XK_Return, "\r", 1, true), 10);
    EXPECT_EQ(CharacterOfKey(XK_BackSpace, "\b", 1, true), 127);
    // Ctrl+Tab is the lone byte 30 of the key translation; digits type nothing.
    EXPECT_EQ(CharacterOfKey(XK_Tab, "\t", 1, true), -1);
    EXPECT_EQ(CharacterOfKey(XK_5, "\x1D", 1, true), -1);
    EXPECT_EQ(CharacterOfKey(XK_KP_Add, "+", 1, true), -1);
}

}  // namespace
