#include "app/pages/KeyCodes.h"

#include "app/pages/ButtonFunctionTables.h"

namespace {

using namespace VirtualKey;

struct KeyNameEntry {
    int usage;
    const wchar_t* name;
};

// Names by HID keyboard usage; usages not listed have no name.
constexpr KeyNameEntry kKeyNames[] = {
    {4, L"A"},       {5, L"B"},          {6, L"C"},
    {7, L"D"},       {8, L"E"},          {9, L"F"},
    {10, L"G"},      {11, L"H"},         {12, L"I"},
    {13, L"J"},      {14, L"K"},         {15, L"L"},
    {16, L"M"},      {17, L"N"},         {18, L"O"},
    {19, L"P"},      {20, L"Q"},         {21, L"R"},
    {22, L"S"},      {23, L"T"},         {24, L"U"},
    {25, L"V"},      {26, L"W"},         {27, L"X"},
    {28, L"Y"},      {29, L"Z"},         {30, L"1"},
    {31, L"2"},      {32, L"3"},         {33, L"4"},
    {34, L"5"},      {35, L"6"},         {36, L"7"},
    {37, L"8"},      {38, L"9"},         {39, L"0"},
    {40, L"Enter"},  {41, L"Esc"},       {42, L"Backspace"},
    {43, L"Tab"},    {44, L"Space"},     {45, L"-"},
    {46, L"="},      {47, L"["},         {48, L"]"},
    {49, L"\\"},     {51, L";"},         {52, L"'"},
    {53, L"`"},      {54, L","},         {55, L"."},
    {56, L"/"},      {57, L"Caps Lock"}, {58, L"F1"},
    {59, L"F2"},     {60, L"F3"},        {61, L"F4"},
    {62, L"F5"},     {63, L"F6"},        {64, L"F7"},
    {65, L"F8"},     {66, L"F9"},        {67, L"F10"},
    {68, L"F11"},    {69, L"F12"},       {70, L"Print Screen"},
    {71, L"Scrlk"},  {72, L"Pause"},     {73, L"Insert"},
    {74, L"Home"},   {75, L"Page Up"},   {76, L"Delete"},
    {77, L"End"},    {78, L"Page Down"}, {79, L"Right"},
    {80, L"Left"},   {81, L"Down"},      {82, L"Up"},
    {83, L"Num"},    {84, L"//"},        {85, L"Num *"},
    {86, L"Num -"},  {87, L"Num +"},     {88, L"Enter"},
    {89, L"Num 1"},  {90, L"Num 2"},     {91, L"Num 3"},
    {92, L"Num 4"},  {93, L"Num 5"},     {94, L"Num 6"},
    {95, L"Num 7"},  {96, L"Num 8"},     {97, L"Num 9"},
    {98, L"Num 0"},  {99, L"Num Del"},   {101, L"Menu"},
    {175, L"Fn"},    {224, L"Ctrl"},     {225, L"Shift"},
    {226, L"Alt"},   {227, L"Windows"},  {228, L"Ctrl"},
    {229, L"Shift"}, {230, L"Alt"},
};

// A run of consecutive codes that maps onto a run of consecutive codes.
struct CodeRun {
    int first;
    int last;
    int firstTarget;
};

// Virtual key to usage. The generic Shift, Ctrl and Alt keys map to the left-hand usages, and
// every usage that UsageToVirtualKey gives a key for maps back, so that keys read back from the
// mouse survive being sent again. 666, 301 and 302 are not byte-sized keys and never come
// from a stored byte; they are kept for callers that pass them.
constexpr CodeRun kVirtualKeyToUsage[] = {
    {kA, kZ, 4},
    {kDigit1, kDigit9, 30},
    {kDigit0, kDigit0, 39},
    {kEnter, kEnter, 40},
    {kEscape, kEscape, 41},
    {kBackspace, kBackspace, 42},
    {kTab, kTab, 43},
    {kSpace, kSpace, 44},
    {kMinus, kMinus, 45},
    {kEquals, kEquals, 46},
    {kLeftBracket, kLeftBracket, 47},
    {kRightBracket, kRightBracket, 48},
    {kBackslash, kBackslash, 49},
    {666, 666, 50},
    {kSemicolon, kSemicolon, 51},
    {kQuote, kQuote, 52},
    {kGrave, kGrave, 53},
    {kComma, kComma, 54},
    {kPeriod, kPeriod, 55},
    {kSlash, kSlash, 56},
    {kCapsLock, kCapsLock, 57},
    {kF1, kF12, 58},
    {kF13, kF24, 104},
    {kPrintScreen, kPrintScreen, 70},
    {kScrollLock, kScrollLock, 71},
    {kPause, kPause, 72},
    {kInsert, kInsert, 73},
    {kHome, kHome, 74},
    {kPageUp, kPageUp, 75},
    {kDelete, kDelete, 76},
    {kEnd, kEnd, 77},
    {kPageDown, kPageDown, 78},
    {kRight, kRight, 79},
    {kLeft, kLeft, 80},
    {kDown, kDown, 81},
    {kUp, kUp, 82},
    {kNumLock, kNumLock, 83},
    {kNumpadDivide, kNumpadDivide, 84},
    {kNumpadMultiply, kNumpadMultiply, 85},
    {kNumpadSubtract, kNumpadSubtract, 86},
    {kNumpadAdd, kNumpadAdd, 87},
    {kNumpadSeparator, kNumpadSeparator, 88},
    {kPa1, kPa1, 88},
    {kNumpad1, kNumpad9, 89},
    {kNumpad0, kNumpad0, 98},
    {kNumpadDecimal, kNumpadDecimal, 99},
    {kLeftCtrl, kLeftCtrl, 224},
    {kLeftShift, kLeftShift, 225},
    {kLeftAlt, kLeftAlt, 226},
    {kLeftWin, kLeftWin, 227},
    {kRightCtrl, kRightCtrl, 228},
    {kRightShift, kRightShift, 229},
    {kRightAlt, kRightAlt, 230},
    {kRightWin, kRightWin, 231},
    {kCtrl, kCtrl, 224},
    {kShift, kShift, 225},
    {kAlt, kAlt, 226},
    {kApplication, kApplication, 101},
    {kFn, kFn, 175},
    {kPlay, kPlay, 175},
    {kIntlBackslash, kIntlBackslash, 100},
    {301, 301, 236},
    {302, 302, 235},
    {136, 139, 136},
    {kVolumeUp, kVolumeUp, 209},
    {kVolumeDown, kVolumeDown, 210},
    {kVolumeMute, kVolumeMute, 211},
    {kLaunchApp2, kLaunchApp2, 212},
};

// Usage to virtual key. Right-hand modifiers give the generic key; usage 231 has none.
constexpr CodeRun kUsageToVirtualKey[] = {
    {4, 29, kA},
    {30, 38, kDigit1},
    {39, 39, kDigit0},
    {40, 40, kEnter},
    {41, 41, kEscape},
    {42, 42, kBackspace},
    {43, 43, kTab},
    {44, 44, kSpace},
    {45, 45, kMinus},
    {46, 46, kEquals},
    {47, 47, kLeftBracket},
    {48, 48, kRightBracket},
    {49, 49, kBackslash},
    {51, 51, kSemicolon},
    {52, 52, kQuote},
    {53, 53, kGrave},
    {54, 54, kComma},
    {55, 55, kPeriod},
    {56, 56, kSlash},
    {57, 57, kCapsLock},
    {58, 69, kF1},
    {70, 70, kPrintScreen},
    {71, 71, kScrollLock},
    {72, 72, kPause},
    {73, 73, kInsert},
    {74, 74, kHome},
    {75, 75, kPageUp},
    {76, 76, kDelete},
    {77, 77, kEnd},
    {78, 78, kPageDown},
    {79, 79, kRight},
    {80, 80, kLeft},
    {81, 81, kDown},
    {82, 82, kUp},
    {83, 83, kNumLock},
    {84, 84, kNumpadDivide},
    {85, 85, kNumpadMultiply},
    {86, 86, kNumpadSubtract},
    {87, 87, kNumpadAdd},
    {88, 88, kPa1},
    {89, 97, kNumpad1},
    {98, 98, kNumpad0},
    {99, 99, kNumpadDecimal},
    {100, 100, kIntlBackslash},
    {101, 101, kApplication},
    {104, 115, kF13},
    {136, 139, 136},
    {175, 175, kPlay},
    {209, 209, kVolumeUp},
    {210, 210, kVolumeDown},
    {211, 211, kVolumeMute},
    {212, 212, kLaunchApp2},
    {224, 224, kCtrl},
    {228, 228, kCtrl},
    {225, 225, kShift},
    {229, 229, kShift},
    {226, 226, kAlt},
    {230, 230, kAlt},
    {227, 227, kLeftWin},
};

struct CaptureEntry {
    int virtualKey;
    int capturedKey;
    const wchar_t* name;
};

// Capture names that differ from the key's usage name, and keys that have no usage name.
constexpr CaptureEntry kCaptureNames[] = {
    {kShift, kLeftShift, L"Shift"},
    {kCtrl, kLeftCtrl, L"Ctrl"},
    {kAlt, kLeftAlt, L"Alt"},
    {kPause, kPause, L"Pause"},
    {kPrintScreen, kPrintScreen, L"Print Screen"},
    {kLeftWin, kLeftWin, L"Windows"},
    {kRightWin, kRightWin, L"RWindows"},
    {kApplication, kApplication, L"Application"},
    {kNumLock, kNumLock, L"Num Lock"},
    {kLeftShift, kLeftShift, L"Shift"},
    {kRightShift, kRightShift, L"RShift"},
    {kLeftCtrl, kLeftCtrl, L"Ctrl"},
    {kRightCtrl, kRightCtrl, L"RCtrl"},
    {kLeftAlt, kLeftAlt, L"Alt"},
    {kRightAlt, kRightAlt, L"RAlt"},
    {kF13, kF13, L"F13"},
    {kF13 + 1, kF13 + 1, L"F14"},
    {kF13 + 2, kF13 + 2, L"F15"},
    {kF13 + 3, kF13 + 3, L"F16"},
    {kF13 + 4, kF13 + 4, L"F17"},
    {kF13 + 5, kF13 + 5, L"F18"},
    {kF13 + 6, kF13 + 6, L"F19"},
    {kF13 + 7, kF13 + 7, L"F20"},
    {kF13 + 8, kF13 + 8, L"F21"},
    {kF13 + 9, kF13 + 9, L"F22"},
    {kF13 + 10, kF13 + 10, L"F23"},
    {kF24, kF24, L"F24"},
};

template <size_t N>
int MapCode(const CodeRun (&runs)[N], int code) {
    for (const CodeRun& run : runs) {
        if (code >= run.first && code <= run.last) {
            return run.firstTarget + (code - run.first);
        }
    }
    return 0;
}

}  // namespace

std::wstring KeyName(int usage) {
    for (const KeyNameEntry& entry : kKeyNames) {
        if (entry.usage == usage) {
            return entry.name;
        }
    }
    return {};
}

std::wstring MouseButtonName(int bit) {
    for (const MouseButtonEntry& entry : kMouseButtons) {
        if (entry.bit == bit) {
            return entry.name;
        }
    }
    return {};
}

int ModifierUsageToBit(int usage) {
    if (usage >= kFirstModifierUsage && usage <= kLastModifierUsage) {
        return 1 << (usage - kFirstModifierUsage);
    }
    return usage;
}

int VirtualKeyToUsage(int virtualKey) {
    return MapCode(kVirtualKeyToUsage, virtualKey);
}

int UsageToVirtualKey(int usage) {
    return MapCode(kUsageToVirtualKey, usage);
}

CapturedKey CaptureKey(int virtualKey) {
    for (const CaptureEntry& entry : kCaptureNames) {
        if (entry.virtualKey == virtualKey) {
            return {entry.capturedKey, entry.name};
        }
    }
    return {virtualKey, KeyName(VirtualKeyToUsage(virtualKey))};
}

std::wstring KeyCombinationText(int modifierBits, std::wstring_view keyName) {
    // A right-hand modifier reads like its left-hand twin.
    const int bits = (modifierBits | (modifierBits >> 4)) & 0x0F;
    std::wstring modifiers;
    const auto add = [&modifiers](const wchar_t* alone, const wchar_t* appended) {
        modifiers += modifiers.empty() ? alone : appended;
    };
    if (bits & kModifierShift) {
        add(L"Shift", L"+ Shift");
    }
    if (bits & kModifierCtrl) {
        add(L"Ctrl", L"+ Ctrl");
    }
    if (bits & kModifierWin) {
        add(L"Win", L"+ Win");
    }
    if (bits & kModifierAlt) {
        add(L"Alt", L"+ Alt");
    }
    if (!modifiers.empty() && !keyName.empty()) {
        return modifiers + L" + " + std::wstring(keyName);
    }
    return modifiers.empty() ? std::wstring(keyName) : modifiers;
}
