#include "app/pages/ButtonFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Texts stand for their id, so a test sees which text was chosen.
std::wstring FakeText(int id) {
    return L"T" + std::to_wstring(id);
}

ButtonAssignment Function(int32_t kind, int32_t value, int32_t value2 = 0, int32_t value3 = 0,
                          std::wstring desc = {}) {
    ButtonAssignment a;
    a.macro_type = kind;
    a.macro_value = value;
    a.macro_value2 = value2;
    a.macro_value3 = value3;
    a.macro_desc = std::move(desc);
    return a;
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> all(bytes);
    all.resize(kButtonFunctionBytes, 0);
    return all;
}

struct Values {
    int32_t kind, value, value2, value3;
};

struct RoundTrip {
    Values stored;
    std::vector<uint8_t> device;
    Values decoded;
    std::wstring text;
};

// Every fixed function, and keys, fire keys and macros, from a record to the mouse and back.
TEST(ButtonFunctionsTest, EncodesAndDecodesEveryKind) {
    const RoundTrip cases[] = {
        // Mouse functions.
        {{1, 1}, Bytes({1, 0x01}), {1, 1}, L"T106"},
        {{1, 3}, Bytes({1, 0x02}), {1, 3}, L"T107"},
        {{1, 2}, Bytes({1, 0x04}), {1, 2}, L"T108"},
        {{1, 5}, Bytes({1, 0x08}), {1, 5}, L"T109"},
        {{1, 6}, Bytes({1, 0x10}), {1, 6}, L"T110"},
        {{1, 4}, Bytes({1, 0x80}), {1, 4}, L"T111"},
        {{1, 7}, Bytes({1, 0, 0x02}), {1, 7}, L"T112"},
        {{1, 8}, Bytes({1, 0, 0xFE}), {1, 8}, L"T113"},
        {{1, 9}, Bytes({1, 0, 0, 0xFE}), {1, 9}, L"T114"},
        {{1, 10}, Bytes({1, 0, 0, 0x02}), {1, 10}, L"T115"},
        // Keys and key combinations.
        {{2, 4, 3}, Bytes({2, 0x03, 0x04}), {2, 4, 3}, L"Shift+ Ctrl + A"},
        {{2, 0, 4}, Bytes({2, 0x04}), {2, 0, 4}, L"Alt"},
        {{2, 62, 8}, Bytes({2, 0x08, 0x3E}), {2, 62, 8}, L"Win + F5"},
        {{2, 41}, Bytes({2, 0, 0x29}), {2, 41}, L"Esc"},
        {{2, 225}, Bytes({2, 0x02}), {2, 0, 2}, L"Shift"},
        {{2, 228, 2}, Bytes({2, 0x12}), {2, 0, 0x12}, L"Shift+ Ctrl"},
        {{2, 4, 1, 5}, Bytes({2, 0x01, 0x04, 0x05}), {2, 4, 1, 5}, L"Ctrl + A"},
        // Media functions.
        {{3, 6}, Bytes({3, 0xE9}), {3, 6}, L"T117"},
        {{3, 7}, Bytes({3, 0xEA}), {3, 7}, L"T118"},
        {{3, 8}, Bytes({3, 0xE2}), {3, 8}, L"T119"},
        {{3, 1}, Bytes({3, 0x83, 0x01}), {3, 1}, L"T120"},
        {{3, 2}, Bytes({3, 0xCD}), {3, 2}, L"T121"},
        {{3, 4}, Bytes({3, 0xB6}), {3, 4}, L"T122"},
        {{3, 5}, Bytes({3, 0xB5}), {3, 5}, L"T123"},
        {{3, 3}, Bytes({3, 0xB7}), {3, 3}, L"T124"},
        // A macro travels separately; only its kind is in the function bytes.
        {{4, 12}, Bytes({4}), {4, 0}, L""},
        // The two groups.
        {{5, 3}, Bytes({5, 1}), {5, 3}, L"T141"},
        {{5, 1}, Bytes({5, 2}), {5, 1}, L"T142"},
        {{5, 2}, Bytes({5, 3}), {5, 2}, L"T143"},
        {{6, 1}, Bytes({6, 1}), {6, 1}, L"T151"},
        {{6, 2}, Bytes({6, 2}), {6, 2}, L"T152"},
        {{6, 3}, Bytes({6, 3}), {6, 3}, L"T153"},
        {{6, 4}, Bytes({6, 4}), {6, 4}, L"T154"},
        {{6, 5}, Bytes({6, 5}), {6, 5}, L"T155"},
        // Fire keys: right button 30 ms x 5; key A; F13 at the limits; generic Ctrl.
        {{7, 1026, 30, 5}, Bytes({7, 1, 2, 0x1E, 0, 5, 0}), {7, 1026, 30, 5}, L"T161"},
        {{7, 2113, 10, 1}, Bytes({7, 2, 4, 10, 0, 1, 0}), {7, 2113, 10, 1}, L"T161"},
        {{7, 2048 + 124, 255, 4000},
         Bytes({7, 2, 104, 0xFF, 0, 0xA0, 0x0F}),
         {7, 2048 + 124, 255, 4000},
         L"T161"},
        {{7, 2048 + 17, 10, 1}, Bytes({7, 2, 224, 10, 0, 1, 0}), {7, 2048 + 17, 10, 1}, L"T161"},
        // System functions.
        {{8, 1}, Bytes({8, 0x0C, 0x6F}), {8, 1}, L"T127"},
        {{8, 2}, Bytes({8, 0x0C, 0x70}), {8, 2}, L"T128"},
        {{8, 3}, Bytes({8, 0x0C, 0x92, 0x01}), {8, 3}, L"T129"},
        {{8, 4}, Bytes({8, 0x0C, 0x94, 0x01}), {8, 4}, L"T130"},
        {{8, 5}, Bytes({8, 0x0C, 0x23, 0x02}), {8, 5}, L"T131"},
        {{8, 6}, Bytes({8, 0x0C, 0x8A, 0x01}), {8, 6}, L"T132"},
        {{8, 7}, Bytes({8, 0x07, 0x00, 0x3E}), {8, 7}, L"T133"},
        {{8, 8}, Bytes({8, 0x07, 0x04, 0x2B, 0, 0, 0x01}), {8, 8}, L"T134"},
        {{8, 9}, Bytes({8, 0x07, 0x01, 0x06}), {8, 9}, L"T31"},
        {{8, 11}, Bytes({8, 0x07, 0x01, 0x1B}), {8, 11}, L"T36"},
        {{8, 10}, Bytes({8, 0x07, 0x01, 0x19}), {8, 10}, L"T32"},
        // The function of button 85.
        {{9, 1}, Bytes({9}), {9, 1}, L"T139"},
    };
    for (const RoundTrip& c : cases) {
        const Values& s = c.stored;
        SCOPED_TRACE(testing::Message() << "kind " << s.kind << " value " << s.value);
        const ButtonFunctionBytes encoded =
            EncodeButtonFunction(Function(s.kind, s.value, s.value2, s.value3, L"stored"));
        EXPECT_EQ(std::vector<uint8_t>(encoded.begin(), encoded.end()), c.device);

        ButtonAssignment decoded;
        decoded.profile = 3;
        decoded.key_code = 7;
        ASSERT_TRUE(DecodeButtonFunction(c.device, FakeText, decoded));
        EXPECT_EQ(decoded.macro_type, c.decoded.kind);
        EXPECT_EQ(decoded.macro_value, c.decoded.value);
        EXPECT_EQ(decoded.macro_value2, c.decoded.value2);
        EXPECT_EQ(decoded.macro_value3, c.decoded.value3);
        EXPECT_EQ(decoded.macro_desc, c.text);
        EXPECT_EQ(decoded.profile, 3);
        EXPECT_EQ(decoded.key_code, 7);
    }
}

TEST(ButtonFunctionsTest, ValuesTheMouseDoesNotKnowEncodeAsNoValue) {
    struct Case {
        Values stored;
        std::vector<uint8_t> device;
    };
    const Case cases[] = {
        {{1, 0}, Bytes({1})},
        {{1, 11}, Bytes({1})},
        {{3, 9}, Bytes({3})},
        {{5, 4}, Bytes({5})},
        {{6, 6}, Bytes({6})},
        {{8, 12}, Bytes({8})},
        {{9, 7}, Bytes({9})},
        {{0, 5, 5, 5}, Bytes({})},
        {{10, 1}, Bytes({})},
        {{-1, 1}, Bytes({})},
        // Key usages beyond a byte are no key.
        {{2, 300, 1, -4}, Bytes({2, 1})},
        // Fire values outside the allowed range are held at its limits.
        {{7, 1025, 5, 0}, Bytes({7, 1, 1, 10, 0, 1, 0})},
        {{7, 1025, 300, 5000}, Bytes({7, 1, 1, 0xFF, 0, 0xA0, 0x0F})},
        {{7, -5, -1, -1}, Bytes({7, 0, 0, 10, 0, 1, 0})},
    };
    for (const Case& c : cases) {
        const Values& s = c.stored;
        const ButtonFunctionBytes encoded =
            EncodeButtonFunction(Function(s.kind, s.value, s.value2, s.value3));
        EXPECT_EQ(std::vector<uint8_t>(encoded.begin(), encoded.end()), c.device)
            << "kind " << s.kind << " value " << s.value;
    }
}

TEST(ButtonFunctionsTest, MalformedDeviceBytesDecodeToNothing) {
    const std::vector<std::vector<uint8_t>> cases = {
        {},
        {1},
        {1, 0x03},
        {1, 0x20, 0x01, 0x01},
        {2},
        {2, 0, 0, 0, 9, 9, 9},
        {3, 0x01},
        {3, 0xE9, 0x01},
        {5},
        {5, 4},
        {6, 0},
        {6, 6},
        {7, 0, 4, 10, 0, 1, 0},
        {7, 3, 4, 10, 0, 1, 0},
        {7, 1, 0, 10, 0, 1, 0},
        {7, 2, 231, 10, 0, 1, 0},
        {7, 2, 0, 10, 0, 1, 0},
        {8, 0x0C, 0x00},
        {8, 0x06, 0x6F},
        {8, 0x07, 0x05, 0x2C},
        {0, 1, 2, 3},
        {10, 1},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    };
    for (const std::vector<uint8_t>& bytes : cases) {
        ButtonAssignment decoded = Function(1, 5, 6, 7, L"stale");
        EXPECT_FALSE(DecodeButtonFunction(bytes, FakeText, decoded))
            << testing::PrintToString(bytes);
        EXPECT_EQ(decoded.macro_type, 0);
        EXPECT_EQ(decoded.macro_value, 0);
        EXPECT_EQ(decoded.macro_value2, 0);
        EXPECT_EQ(decoded.macro_value3, 0);
        EXPECT_EQ(decoded.macro_desc, L"");
    }
}

TEST(ButtonFunctionsTest, DecodingTakesThePatternsInTheirOrderAndShortAnswers) {
    struct Case {
        std::vector<uint8_t> device;  // exactly as long as given
        Values decoded;
    };
    const Case cases[] = {
        {{1, 0x01, 0x02, 0xFE}, {1, 1}},  // byte 1 is tested first
        {{1, 0x00, 0x02, 0xFE}, {1, 7}},  // then byte 2, then byte 3
        {{1, 0x04}, {1, 2}},
        {{2, 0x00, 0x04}, {2, 4}},
        {{7, 1, 2}, {7, 1026, 10, 1}},  // no interval and count: the lowest
        {{7, 1, 2, 5, 0, 0, 0}, {7, 1026, 10, 1}},
        {{7, 2, 4, 0x2C, 0x01, 0x88, 0x13}, {7, 2113, 255, 4000}},
        {{8, 0x0C, 0x6F, 0x07}, {8, 1}},  // consumer usages by their low byte
        {{8, 0x07, 0x01, 0x3E}, {8, 7}},  // F5 is recognised before Alt + Tab
        {{9}, {9, 1}},
        {{6, 2, 0, 0, 0, 0, 0, 0xAA, 0xBB, 0xCC}, {6, 2}},  // bytes past the function are not read
    };
    for (const Case& c : cases) {
        ButtonAssignment decoded;
        ASSERT_TRUE(DecodeButtonFunction(c.device, FakeText, decoded))
            << testing::PrintToString(c.device);
        EXPECT_EQ(decoded.macro_type, c.decoded.kind) << testing::PrintToString(c.device);
        EXPECT_EQ(decoded.macro_value, c.decoded.value) << testing::PrintToString(c.device);
        EXPECT_EQ(decoded.macro_value2, c.decoded.value2) << testing::PrintToString(c.device);
        EXPECT_EQ(decoded.macro_value3, c.decoded.value3) << testing::PrintToString(c.device);
    }
}

// Whatever the mouse answers, what the program stores from it is sent back unchanged.
TEST(ButtonFunctionsTest, AnythingDecodedEncodesBackToTheSameFunction) {
    ButtonFunctionBytes bytes{};
    int recognised = 0;
    for (int kind = 0; kind <= 10; ++kind) {
        for (int b1 = 0; b1 <= 255; ++b1) {
            for (int b2 = 0; b2 <= 255; ++b2) {
                bytes = {static_cast<uint8_t>(kind),
                         static_cast<uint8_t>(b1),
                         static_cast<uint8_t>(b2),
                         static_cast<uint8_t>(b2 ^ b1),
                         0x20,
                         0x03,
                         0x01};
                ButtonAssignment first;
                if (!DecodeButtonFunction(bytes, {}, first)) {
                    continue;
                }
                ++recognised;
                ButtonAssignment second;
                ASSERT_TRUE(DecodeButtonFunction(EncodeButtonFunction(first), {}, second));
                ASSERT_EQ(second.macro_type, first.macro_type);
                ASSERT_EQ(second.macro_value, first.macro_value) << kind << " " << b1 << " " << b2;
                ASSERT_EQ(second.macro_value2, first.macro_value2)
                    << kind << " " << b1 << " " << b2;
                ASSERT_EQ(second.macro_value3, first.macro_value3)
                    << kind << " " << b1 << " " << b2;
            }
        }
    }
    EXPECT_GT(recognised, 0);
}

// The profile report carries the kind and three function bytes; anything longer is sent alone.
TEST(ButtonFunctionsTest, OnlyFunctionsOfThreeBytesFitTheProfileEntries) {
    std::vector<ButtonAssignment> functions = {Function(2, 4, 3, 0), Function(2, 225),
                                               Function(7, 1026, 30, 5), Function(7, 2113, 10, 1),
                                               Function(9, 1)};
    for (const auto& e : kMouseCodes)
        functions.push_back(Function(kMouseFunction, e.value));
    for (const auto& e : kMediaCodes)
        functions.push_back(Function(kMediaFunction, e.value));
    for (const auto& e : kThreeGroupCodes)
        functions.push_back(Function(5, e.value));
    for (const auto& e : kFiveGroupCodes)
        functions.push_back(Function(6, e.value));
    for (const auto& e : kSystemCodes)
        functions.push_back(Function(kSystemFunction, e.value));
    for (const ButtonAssignment& f : functions) {
        const ButtonFunctionBytes bytes = EncodeButtonFunction(f);
        const bool threeBytes = bytes[4] == 0 && bytes[5] == 0 && bytes[6] == 0;
        EXPECT_EQ(FitsInProfileEntry(f), threeBytes)
            << "kind " << f.macro_type << " value " << f.macro_value;
    }
    EXPECT_FALSE(FitsInProfileEntry(Function(kMacroFunction, 3)));
    EXPECT_FALSE(FitsInProfileEntry(Function(kSystemFunction, 8)));
    EXPECT_TRUE(FitsInProfileEntry(Function(kSystemFunction, 7)));
}

TEST(ButtonFunctionsTest, DescribesStoredAssignmentsInTheCurrentLanguage) {
    const auto localise = [](const std::wstring& name) { return L"local " + name; };
    struct Case {
        ButtonAssignment assignment;
        std::wstring text;
    };
    const Case cases[] = {
        {Function(1, 3, 0, 0, L"old"), L"T107"},
        {Function(1, 99, 0, 0, L"old"), L"old"},
        {Function(3, 1, 0, 0, L"old"), L"T120"},
        {Function(3, 0, 0, 0, L"old"), L"old"},
        {Function(5, 3, 0, 0, L"old"), L"T141"},
        {Function(5, 9, 0, 0, L"old"), L"old"},
        {Function(6, 2, 0, 0, L"old"), L"T152"},
        {Function(8, 11, 0, 0, L"old"), L"T36"},
        {Function(8, 12, 0, 0, L"old"), L"old"},
        {Function(2, 4, 3, 0, L"Shift+ Ctrl + A"), L"Shift+ Ctrl + A"},
        {Function(4, 7, 0, 0, L"Custom 1"), L"local Custom 1"},
        {Function(7, 1026, 30, 5, L"old"), L"T161"},
        {Function(9, 1, 0, 0, L"old"), L"T139"},
        {Function(0, 1, 0, 0, L"old"), L"old"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeButtonFunction(c.assignment, FakeText, localise), c.text)
            << "kind " << c.assignment.macro_type << " value " << c.assignment.macro_value;
    }
    EXPECT_EQ(DescribeButtonFunction(Function(4, 7, 0, 0, L"Custom 1"), FakeText), L"Custom 1");
    EXPECT_EQ(DescribeButtonFunction(Function(1, 3), {}), L"");
}

TEST(ButtonFunctionsTest, DefaultFunctionsByButtonIndex) {
    struct Case {
        int index;
        int32_t kind, value;
    };
    const Case cases[] = {
        {0, 1, 1}, {1, 1, 2}, {2, 1, 3},  {3, 1, 5},  {4, 1, 6},  {5, 1, 1},  {6, 1, 1},
        {7, 6, 1}, {8, 1, 1}, {12, 1, 1}, {13, 1, 8}, {14, 1, 7}, {15, 1, 1}, {-1, 1, 1},
    };
    for (const Case& c : cases) {
        const ButtonFunction function = DefaultButtonFunction(c.index);
        EXPECT_EQ(function.kind, c.kind) << "button " << c.index;
        EXPECT_EQ(function.value, c.value) << "button " << c.index;
    }
}

}  // namespace
