#include "app/pages/KeyCodes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <utility>

namespace {

// Codes from inclusive ranges.
std::set<int> Codes(std::initializer_list<std::pair<int, int>> ranges) {
    std::set<int> codes;
    for (const auto& [first, last] : ranges) {
        for (int code = first; code <= last; ++code) {
            codes.insert(code);
        }
    }
    return codes;
}

TEST(KeyCodesTest, KeyNamesCoverExactlyTheNamedUsages) {
    const std::set<int> named = Codes({{4, 49}, {51, 99}, {101, 101}, {175, 175}, {224, 230}});
    for (int usage = 0; usage <= 255; ++usage) {
        EXPECT_EQ(!KeyName(usage).empty(), named.count(usage) == 1) << "usage " << usage;
    }
    for (int usage : {-1, 256, 1000}) {
        EXPECT_EQ(KeyName(usage), L"") << usage;
    }

    const std::pair<int, const wchar_t*> cases[] = {
        {4, L"A"},      {29, L"Z"},         {30, L"1"},
        {38, L"9"},     {39, L"0"},         {40, L"Enter"},
        {41, L"Esc"},   {42, L"Backspace"}, {43, L"Tab"},
        {44, L"Space"}, {45, L"-"},         {49, L"\\"},
        {52, L"'"},     {53, L"`"},         {57, L"Caps Lock"},
        {58, L"F1"},    {69, L"F12"},       {70, L"Print Screen"},
        {71, L"Scrlk"}, {75, L"Page Up"},   {78, L"Page Down"},
        {82, L"Up"},    {83, L"Num"},       {84, L"//"},
        {85, L"Num *"}, {88, L"Enter"},     {89, L"Num 1"},
        {97, L"Num 9"}, {98, L"Num 0"},     {99, L"Num Del"},
        {101, L"Menu"}, {175, L"Fn"},       {224, L"Ctrl"},
        {228, L"Ctrl"}, {225, L"Shift"},    {229, L"Shift"},
        {226, L"Alt"},  {230, L"Alt"},      {227, L"Windows"},
    };
    for (const auto& [usage, name] : cases) {
        EXPECT_EQ(KeyName(usage), name) << "usage " << usage;
    }
}

TEST(KeyCodesTest, MouseButtonNamesAndModifierBits) {
    const std::pair<int, const wchar_t*> names[] = {
        {1, L"LB"}, {2, L"RB"}, {4, L"MB"}, {8, L"Backward"}, {16, L"Forward"},
        {0, L""},   {3, L""},   {32, L""},  {128, L""},       {-1, L""},
    };
    for (const auto& [bit, name] : names) {
        EXPECT_EQ(MouseButtonName(bit), name) << "bit " << bit;
    }

    const std::pair<int, int> bits[] = {
        {224, 1},  {225, 2},   {226, 4},   {227, 8},   {228, 16}, {229, 32},
        {230, 64}, {231, 128}, {223, 223}, {232, 232}, {4, 4},    {0, 0},
    };
    for (const auto& [usage, bit] : bits) {
        EXPECT_EQ(ModifierUsageToBit(usage), bit) << "usage " << usage;
    }
}

TEST(KeyCodesTest, VirtualKeysThatMapOverTheWholeByteRange) {
    const std::set<int> mapped = Codes({{8, 9},
                                        {13, 13},
                                        {16, 20},
                                        {27, 27},
                                        {32, 40},
                                        {44, 46},
                                        {48, 57},
                                        {65, 93},
                                        {96, 139},
                                        {144, 145},
                                        {160, 165},
                                        {173, 175},
                                        {183, 183},
                                        {186, 192},
                                        {219, 222},
                                        {226, 226},
                                        {250, 250},
                                        {253, 254}});
    for (int key = 0; key <= 255; ++key) {
        EXPECT_EQ(VirtualKeyToUsage(key) != 0, mapped.count(key) == 1) << "virtual key " << key;
    }

    const std::pair<int, int> cases[] = {
        {65, 4},
        {90, 29},
        {49, 30},
        {57, 38},
        {48, 39},
        {13, 40},
        {27, 41},
        {8, 42},
        {9, 43},
        {32, 44},
        {189, 45},
        {187, 46},
        {219, 47},
        {221, 48},
        {220, 49},
        {186, 51},
        {222, 52},
        {192, 53},
        {188, 54},
        {190, 55},
        {191, 56},
        {20, 57},
        {112, 58},
        {123, 69},
        {124, 104},
        {135, 115},
        {44, 70},
        {145, 71},
        {19, 72},
        {45, 73},
        {36, 74},
        {33, 75},
        {46, 76},
        {35, 77},
        {34, 78},
        {39, 79},
        {37, 80},
        {40, 81},
        {38, 82},
        {144, 83},
        {111, 84},
        {106, 85},
        {109, 86},
        {107, 87},
        {108, 88},
        {97, 89},
        {105, 97},
        {96, 98},
        {110, 99},
        {162, 224},
        {160, 225},
        {164, 226},
        {91, 227},
        {163, 228},
        {161, 229},
        {165, 230},
        {92, 231},
        {93, 101},
        {254, 175},
        {226, 100},
        {136, 136},
        {139, 139},
        // Generic modifiers and the keys that usages come back as.
        {17, 224},
        {16, 225},
        {18, 226},
        {253, 88},
        {250, 175},
        {175, 209},
        {174, 210},
        {173, 211},
        {183, 212},
        // Codes beyond a byte.
        {666, 50},
        {301, 236},
        {302, 235},
        {256, 0},
        {-1, 0},
        {0, 0},
    };
    for (const auto& [key, usage] : cases) {
        EXPECT_EQ(VirtualKeyToUsage(key), usage) << "virtual key " << key;
    }
}

TEST(KeyCodesTest, UsagesThatMapOverTheWholeByteRange) {
    const std::set<int> mapped =
        Codes({{4, 49}, {51, 101}, {104, 115}, {136, 139}, {175, 175}, {209, 212}, {224, 230}});
    for (int usage = 0; usage <= 255; ++usage) {
        EXPECT_EQ(UsageToVirtualKey(usage) != 0, mapped.count(usage) == 1) << "usage " << usage;
    }

    const std::pair<int, int> cases[] = {
        {4, 65},    {29, 90},   {30, 49},   {38, 57},   {39, 48},  {40, 13},  {41, 27},
        {42, 8},    {43, 9},    {44, 32},   {45, 189},  {46, 187}, {47, 219}, {48, 221},
        {49, 220},  {51, 186},  {52, 222},  {53, 192},  {54, 188}, {55, 190}, {56, 191},
        {57, 20},   {58, 112},  {69, 123},  {70, 44},   {71, 145}, {72, 19},  {73, 45},
        {74, 36},   {75, 33},   {76, 46},   {77, 35},   {78, 34},  {79, 39},  {80, 37},
        {81, 40},   {82, 38},   {83, 144},  {84, 111},  {85, 106}, {86, 109}, {87, 107},
        {88, 253},  {89, 97},   {97, 105},  {98, 96},   {99, 110}, {101, 93}, {175, 250},
        {209, 175}, {210, 174}, {211, 173}, {212, 183}, {224, 17}, {228, 17}, {225, 16},
        {229, 16},  {226, 18},  {230, 18},  {227, 91},  {231, 0},  {50, 0},   {0, 0},
        {104, 124}, {115, 135}, {100, 226}, {137, 137}, {256, 0},  {-1, 0},
    };
    for (const auto& [usage, key] : cases) {
        EXPECT_EQ(UsageToVirtualKey(usage), key) << "usage " << usage;
    }
}

// Keys read back from the mouse are sent to it again, and keys sent are read back.
TEST(KeyCodesTest, MappedKeysRoundTrip) {
    for (int usage = 0; usage <= 255; ++usage) {
        const int key = UsageToVirtualKey(usage);
        if (key == 0) {
            continue;
        }
        const int usageAgain = VirtualKeyToUsage(key);
        EXPECT_NE(usageAgain, 0) << "usage " << usage;
        EXPECT_EQ(UsageToVirtualKey(usageAgain), key) << "usage " << usage;
        EXPECT_EQ(KeyName(usageAgain), KeyName(usage)) << "usage " << usage;
    }
    for (int key = 0; key <= 255; ++key) {
        const int usage = VirtualKeyToUsage(key);
        if (usage == 0 || key == VirtualKey::kRightWin) {  // right GUI has no virtual key back
            continue;
        }
        const int usageAgain = VirtualKeyToUsage(UsageToVirtualKey(usage));
        // Right-hand Ctrl, Shift and Alt come back as the generic, left-hand key.
        const bool rightModifier = usage >= 228 && usage <= 230 && usageAgain == usage - 4;
        EXPECT_TRUE(usageAgain == usage || rightModifier) << "virtual key " << key;
    }
    EXPECT_EQ(UsageToVirtualKey(VirtualKeyToUsage(VirtualKey::kRightWin)), 0);
}

TEST(KeyCodesTest, CapturedKeysAndTheirNames) {
    struct Case {
        int key;
        int captured;
        const wchar_t* name;
    };
    const Case cases[] = {
        {16, 160, L"Shift"},     {17, 162, L"Ctrl"},        {18, 164, L"Alt"},
        {161, 161, L"RShift"},   {163, 163, L"RCtrl"},      {165, 165, L"RAlt"},
        {91, 91, L"Windows"},    {92, 92, L"RWindows"},     {93, 93, L"Application"},
        {144, 144, L"Num Lock"}, {44, 44, L"Print Screen"}, {19, 19, L"Pause"},
        {65, 65, L"A"},          {13, 13, L"Enter"},        {97, 97, L"Num 1"},
        {124, 124, L"F13"},      {135, 135, L"F24"},        {0, 0, L""},
        {255, 255, L""},
    };
    for (const Case& c : cases) {
        const CapturedKey captured = CaptureKey(c.key);
        EXPECT_EQ(captured.virtualKey, c.captured) << "virtual key " << c.key;
        EXPECT_EQ(captured.name, c.name) << "virtual key " << c.key;
    }
}

TEST(KeyCodesTest, KeyCombinationText) {
    struct Case {
        int modifiers;
        const wchar_t* key;
        const wchar_t* text;
    };
    const Case cases[] = {
        {kModifierCtrl | kModifierShift, L"A", L"Shift+ Ctrl + A"},
        {kModifierAlt, L"", L"Alt"},
        {0, L"A", L"A"},
        {0, L"", L""},
        {kModifierWin, L"Tab", L"Win + Tab"},
        {kModifierCtrl | kModifierAlt, L"Delete", L"Ctrl+ Alt + Delete"},
        {15, L"F5", L"Shift+ Ctrl+ Win+ Alt + F5"},
        {kModifierAlt | kModifierWin, L"", L"Win+ Alt"},
        // Right-hand modifier bits read as their key.
        {0x10, L"", L"Ctrl"},
        {0x20 | kModifierCtrl, L"X", L"Shift+ Ctrl + X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyCombinationText(c.modifiers, c.key), c.text) << c.modifiers;
    }
}

}  // namespace
