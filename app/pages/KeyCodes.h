#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Key code tables shared by the button page, the macro editor and the device link. Keys are
// kept as Windows virtual-key codes wherever they are stored (database, macro and profile
// files); the mouse speaks USB HID keyboard usages.

// Windows virtual-key codes, as numbers, for the keys the program names or converts. Only the
// values matter: they are what stored macros and fire keys hold.
namespace VirtualKey {
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kCtrl = 17;
constexpr int kAlt = 18;
constexpr int kPause = 19;
constexpr int kCapsLock = 20;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kPrintScreen = 44;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kDigit0 = 48;
constexpr int kDigit1 = 49;
constexpr int kDigit9 = 57;
constexpr int kA = 65;
constexpr int kZ = 90;
constexpr int kLeftWin = 91;
constexpr int kRightWin = 92;
constexpr int kApplication = 93;
constexpr int kNumpad0 = 96;
constexpr int kNumpad1 = 97;
constexpr int kNumpad9 = 105;
constexpr int kNumpadMultiply = 106;
constexpr int kNumpadAdd = 107;
constexpr int kNumpadSeparator = 108;
constexpr int kNumpadSubtract = 109;
constexpr int kNumpadDecimal = 110;
constexpr int kNumpadDivide = 111;
constexpr int kF1 = 112;
constexpr int kF12 = 123;
constexpr int kF13 = 124;
constexpr int kF24 = 135;
constexpr int kNumLock = 144;
constexpr int kScrollLock = 145;
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;
constexpr int kLeftCtrl = 162;
constexpr int kRightCtrl = 163;
constexpr int kLeftAlt = 164;
constexpr int kRightAlt = 165;
constexpr int kVolumeMute = 173;
constexpr int kVolumeDown = 174;
constexpr int kVolumeUp = 175;
constexpr int kLaunchApp2 = 183;
constexpr int kSemicolon = 186;
constexpr int kEquals = 187;
constexpr int kComma = 188;
constexpr int kMinus = 189;
constexpr int kPeriod = 190;
constexpr int kSlash = 191;
constexpr int kGrave = 192;
constexpr int kLeftBracket = 219;
constexpr int kBackslash = 220;
constexpr int kRightBracket = 221;
constexpr int kQuote = 222;
constexpr int kIntlBackslash = 226;
constexpr int kPlay = 250;
constexpr int kPa1 = 253;
constexpr int kFn = 254;
}  // namespace VirtualKey

// Modifier bits of a key combination (the HID modifier byte; the right-hand keys use the
// high four bits).
constexpr int kModifierCtrl = 1;
constexpr int kModifierShift = 2;
constexpr int kModifierAlt = 4;
constexpr int kModifierWin = 8;

// HID keyboard usages of the modifier keys: left Ctrl, Shift, Alt, GUI, then the right ones.
constexpr int kFirstModifierUsage = 224;
constexpr int kLastModifierUsage = 231;

// The name shown for a HID keyboard usage; empty for usages without a name.
std::wstring KeyName(int usage);

// The built-in name of a mouse-button bit (1 "LB", 2 "RB", 4 "MB", 8 "Backward", 16
// "Forward"); empty for any other value.
std::wstring MouseButtonName(int bit);

// Modifier usages 224-231 become their modifier bit (1, 2, 4 ... 128); any other usage is
// returned unchanged.
int ModifierUsageToBit(int usage);

// Windows virtual-key code to HID keyboard usage, 0 when the key has none.
int VirtualKeyToUsage(int virtualKey);

// HID keyboard usage to Windows virtual-key code, 0 when the usage has none.
int UsageToVirtualKey(int usage);

// A key as the capture fields of the button page and the macro recorder take it: the generic
// Shift, Ctrl and Alt become their left-hand keys, and the name is the one the field shows.
struct CapturedKey {
    int virtualKey = 0;
    std::wstring name;
};
CapturedKey CaptureKey(int virtualKey);

// The text of a key combination: the modifier part ("Shift", "+ Ctrl", "+ Win", "+ Alt" in
// that order, joined without blanks) and the key name, as "%s + %s" when both are present.
std::wstring KeyCombinationText(int modifierBits, std::wstring_view keyName);
