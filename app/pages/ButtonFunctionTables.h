#pragma once

#include <array>
#include <cstdint>

// The fixed functions a button can carry, in the order the button page lists them. Every text
// is a language text id; value is what a button assignment stores as macro_value.

// Function kinds (macro_type of a button assignment).
constexpr int32_t kMouseFunction = 1;
constexpr int32_t kKeyFunction = 2;
constexpr int32_t kMediaFunction = 3;
constexpr int32_t kMacroFunction = 4;
constexpr int32_t kThreeGroupFunction = 5;
constexpr int32_t kFiveGroupFunction = 6;
constexpr int32_t kFireKeyFunction = 7;
constexpr int32_t kSystemFunction = 8;
constexpr int32_t kButton85Function = 9;

// Table M: mouse functions; bytes are function bytes 1-3 sent to the mouse.
struct MouseCodeEntry {
    int textId;
    int32_t value;
    std::array<uint8_t, 3> bytes;
};
inline constexpr std::array<MouseCodeEntry, 10> kMouseCodes = {{
    {106, 1, {0x01, 0x00, 0x00}},  // left button
    {107, 3, {0x02, 0x00, 0x00}},  // right button
    {108, 2, {0x04, 0x00, 0x00}},  // middle button
    {109, 5, {0x08, 0x00, 0x00}},  // back
    {110, 6, {0x10, 0x00, 0x00}},  // forward
    {111, 4, {0x80, 0x00, 0x00}},
    {112, 7, {0x00, 0x02, 0x00}},   // vertical wheel +2
    {113, 8, {0x00, 0xFE, 0x00}},   // vertical wheel -2
    {114, 9, {0x00, 0x00, 0xFE}},   // horizontal -2
    {115, 10, {0x00, 0x00, 0x02}},  // horizontal +2
}};

// Table C: media functions, sent as a HID consumer-page usage.
struct MediaCodeEntry {
    int textId;
    int32_t value;
    uint16_t consumerUsage;
};
inline constexpr std::array<MediaCodeEntry, 8> kMediaCodes = {{
    {117, 6, 0x00E9},  // volume up
    {118, 7, 0x00EA},  // volume down
    {119, 8, 0x00E2},  // mute
    {120, 1, 0x0183},  // media player
    {121, 2, 0x00CD},  // play / pause
    {122, 4, 0x00B6},  // previous track
    {123, 5, 0x00B5},  // next track
    {124, 3, 0x00B7},  // stop
}};

// Table S: system functions; bytes are function bytes 1-6 (byte 1 the HID usage page). The
// mouse's answer is recognised by its usage page and the byte at matchIndex (0-based in
// bytes), tested in list order.
struct SystemCodeEntry {
    int textId;
    int32_t value;
    std::array<uint8_t, 6> bytes;
    int matchIndex;
};
inline constexpr std::array<SystemCodeEntry, 11> kSystemCodes = {{
    {127, 1, {0x0C, 0x6F, 0x00, 0x00, 0x00, 0x00}, 1},  // brightness up
    {128, 2, {0x0C, 0x70, 0x00, 0x00, 0x00, 0x00}, 1},  // brightness down
    {129, 3, {0x0C, 0x92, 0x01, 0x00, 0x00, 0x00}, 1},  // calculator
    {130, 4, {0x0C, 0x94, 0x01, 0x00, 0x00, 0x00}, 1},  // file browser
    {131, 5, {0x0C, 0x23, 0x02, 0x00, 0x00, 0x00}, 1},  // browser home
    {132, 6, {0x0C, 0x8A, 0x01, 0x00, 0x00, 0x00}, 1},  // e-mail
    {133, 7, {0x07, 0x00, 0x3E, 0x00, 0x00, 0x00}, 2},  // F5
    {134, 8, {0x07, 0x04, 0x2B, 0x00, 0x00, 0x01}, 1},  // Alt + Tab
    {31, 9, {0x07, 0x01, 0x06, 0x00, 0x00, 0x00}, 2},   // Ctrl + C
    {36, 11, {0x07, 0x01, 0x1B, 0x00, 0x00, 0x00}, 2},  // Ctrl + X
    {32, 10, {0x07, 0x01, 0x19, 0x00, 0x00, 0x00}, 2},  // Ctrl + V
}};

// The one system function that needs all six bytes.
constexpr int32_t kAltTabSystemCode = 8;

// Tables G5 and G6: the two groups of functions; deviceByte is function byte 1.
struct GroupCodeEntry {
    int textId;
    int32_t value;
    uint8_t deviceByte;
};
inline constexpr std::array<GroupCodeEntry, 3> kThreeGroupCodes = {{
    {141, 3, 1},
    {142, 1, 2},
    {143, 2, 3},
}};
inline constexpr std::array<GroupCodeEntry, 5> kFiveGroupCodes = {{
    {151, 1, 1},
    {152, 2, 2},
    {153, 3, 3},
    {154, 4, 4},
    {155, 5, 5},
}};

// Table B: mouse-button bits with their built-in names (fire keys, macros) and the text the
// fire panel lists them with.
struct MouseButtonEntry {
    int bit;
    const wchar_t* name;
    int textId;
};
inline constexpr std::array<MouseButtonEntry, 5> kMouseButtons = {{
    {1, L"LB", 106},
    {2, L"RB", 107},
    {4, L"MB", 108},
    {8, L"Backward", 109},
    {16, L"Forward", 110},
}};

// Fire keys: macro_value = source * kFireSourceFactor + code; the code is a mouse-button bit
// for source 1 and a Windows virtual-key code for source 2.
constexpr int32_t kFireSourceMouse = 1;
constexpr int32_t kFireSourceKey = 2;
constexpr int32_t kFireSourceFactor = 1024;
constexpr int32_t kFireMinInterval = 10;
constexpr int32_t kFireMaxInterval = 255;
constexpr int32_t kFireMinCount = 1;
constexpr int32_t kFireMaxCount = 4000;

struct FireSourceEntry {
    int textId;
    int32_t source;
};
inline constexpr std::array<FireSourceEntry, 2> kFireSources = {{
    {163, kFireSourceMouse},
    {164, kFireSourceKey},
}};

// Single texts of the button functions.
constexpr int kFireKeyTextId = 161;
constexpr int kButton85TextId = 139;

// The function a button shows when the profile holds no record for it, by button index.
struct DefaultFunctionEntry {
    int buttonIndex;
    int32_t kind;
    int32_t value;
};
inline constexpr std::array<DefaultFunctionEntry, 8> kDefaultFunctions = {{
    {0, kMouseFunction, 1},
    {1, kMouseFunction, 2},
    {2, kMouseFunction, 3},
    {3, kMouseFunction, 5},
    {4, kMouseFunction, 6},
    {7, kFiveGroupFunction, 1},
    {13, kMouseFunction, 8},
    {14, kMouseFunction, 7},
}};
inline constexpr DefaultFunctionEntry kOtherButtonsDefault = {-1, kMouseFunction, 1};
