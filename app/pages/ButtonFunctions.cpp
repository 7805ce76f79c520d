#include "app/pages/ButtonFunctions.h"

#include <algorithm>

#include "app/pages/KeyCodes.h"

namespace {

template <typename Table>
const typename Table::value_type* FindByValue(const Table& table, int32_t value) {
    for (const auto& entry : table) {
        if (entry.value == value) {
            return &entry;
        }
    }
    return nullptr;
}

template <typename Table>
const typename Table::value_type* FindByDeviceByte(const Table& table, uint8_t deviceByte) {
    for (const auto& entry : table) {
        if (entry.deviceByte == deviceByte) {
            return &entry;
        }
    }
    return nullptr;
}

std::wstring Lookup(const LangTextLookup& text, int id) {
    return text && id != 0 ? text(id) : std::wstring();
}

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}
uint8_t HighByte(int32_t value) {
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

bool IsModifierUsage(int32_t usage) {
    return usage >= kFirstModifierUsage && usage <= kLastModifierUsage;
}

// A key usage for function bytes 2 and 3: modifier keys travel as bits of byte 1 instead, and
// anything that is not a byte-sized usage is no key.
uint8_t KeyByte(int32_t usage, uint8_t& modifiers) {
    if (IsModifierUsage(usage)) {
        modifiers |= static_cast<uint8_t>(ModifierUsageToBit(usage));
        return 0;
    }
    return usage >= 0 && usage <= 0xFF ? static_cast<uint8_t>(usage) : 0;
}

void EncodeKey(const ButtonAssignment& assignment, ButtonFunctionBytes& bytes) {
    uint8_t modifiers = LowByte(assignment.macro_value2);
    const uint8_t key = KeyByte(assignment.macro_value, modifiers);
    const uint8_t secondKey = KeyByte(assignment.macro_value3, modifiers);
    bytes[1] = modifiers;
    bytes[2] = key;
    bytes[3] = secondKey;
}

void EncodeFireKey(const ButtonAssignment& assignment, ButtonFunctionBytes& bytes) {
    const int32_t value = std::max(assignment.macro_value, 0);
    const int32_t source = value / kFireSourceFactor;
    const int32_t code = value & 0xFF;
    const int32_t interval =
        std::clamp(assignment.macro_value2, kFireMinInterval, kFireMaxInterval);
    const int32_t count = std::clamp(assignment.macro_value3, kFireMinCount, kFireMaxCount);
    bytes[1] = LowByte(source);
    bytes[2] = source == kFireSourceMouse ? LowByte(code) : LowByte(VirtualKeyToUsage(code));
    bytes[3] = LowByte(interval);
    bytes[4] = HighByte(interval);
    bytes[5] = LowByte(count);
    bytes[6] = HighByte(count);
}

// Index of the one non-zero byte of a table M pattern.
size_t MousePatternIndex(const MouseCodeEntry& entry) {
    for (size_t i = 0; i < entry.bytes.size(); ++i) {
        if (entry.bytes[i] != 0) {
            return i;
        }
    }
    return 0;
}

}  // namespace

ButtonFunctionBytes EncodeButtonFunction(const ButtonAssignment& assignment) {
    ButtonFunctionBytes bytes{};
    const int32_t value = assignment.macro_value;
    switch (assignment.macro_type) {
        case kMouseFunction:
            bytes[0] = kMouseFunction;
            if (const MouseCodeEntry* entry = FindByValue(kMouseCodes, value)) {
                std::copy(entry->bytes.begin(), entry->bytes.end(), bytes.begin() + 1);
            }
            break;
        case kKeyFunction:
            bytes[0] = kKeyFunction;
            EncodeKey(assignment, bytes);
            break;
        case kMediaFunction:
            bytes[0] = kMediaFunction;
            if (const MediaCodeEntry* entry = FindByValue(kMediaCodes, value)) {
                bytes[1] = LowByte(entry->consumerUsage);
                bytes[2] = HighByte(entry->consumerUsage);
            }
            break;
        case kMacroFunction:
            bytes[0] = kMacroFunction;
            break;
        case kThreeGroupFunction:
            bytes[0] = kThreeGroupFunction;
            if (const GroupCodeEntry* entry = FindByValue(kThreeGroupCodes, value)) {
                bytes[1] = entry->deviceByte;
            }
            break;
        case kFiveGroupFunction:
            bytes[0] = kFiveGroupFunction;
            if (const GroupCodeEntry* entry = FindByValue(kFiveGroupCodes, value)) {
                bytes[1] = entry->deviceByte;
            }
            break;
        case kFireKeyFunction:
            bytes[0] = kFireKeyFunction;
            EncodeFireKey(assignment, bytes);
            break;
        case kSystemFunction:
            bytes[0] = kSystemFunction;
            if (const SystemCodeEntry* entry = FindByValue(kSystemCodes, value)) {
                std::copy(entry->bytes.begin(), entry->bytes.end(), bytes.begin() + 1);
            }
            break;
        case kButton85Function:
            bytes[0] = kButton85Function;
            break;
        default:
            break;
    }
    return bytes;
}

bool FitsInProfileEntry(const ButtonAssignment& assignment) {
    switch (assignment.macro_type) {
        case kMacroFunction:
        case kFireKeyFunction:
            return false;
        case kSystemFunction:
            return assignment.macro_value != kAltTabSystemCode;
        default:
            return true;
    }
}

bool DecodeButtonFunction(std::span<const uint8_t> input, const LangTextLookup& text,
                          ButtonAssignment& function) {
    ButtonFunctionBytes b{};
    std::copy_n(input.begin(), std::min(input.size(), b.size()), b.begin());

    function.macro_type = 0;
    function.macro_value = 0;
    function.macro_value2 = 0;
    function.macro_value3 = 0;
    function.macro_desc.clear();
    const auto found = [&function](int32_t kind, int32_t value, int32_t value2, int32_t value3,
                                   std::wstring desc) {
        function.macro_type = kind;
        function.macro_value = value;
        function.macro_value2 = value2;
        function.macro_value3 = value3;
        function.macro_desc = std::move(desc);
        return true;
    };
    if (input.empty()) {
        return false;
    }

    switch (b[0]) {
        case kMouseFunction:
            for (const MouseCodeEntry& entry : kMouseCodes) {
                const size_t i = MousePatternIndex(entry);
                if (b[1 + i] == entry.bytes[i]) {
                    return found(kMouseFunction, entry.value, 0, 0, Lookup(text, entry.textId));
                }
            }
            return false;
        case kKeyFunction: {
            uint8_t modifiers = b[1];
            const uint8_t key = KeyByte(b[2], modifiers);
            const uint8_t secondKey = KeyByte(b[3], modifiers);
            if (modifiers == 0 && key == 0 && secondKey == 0) {
                return false;
            }
            return found(kKeyFunction, key, modifiers, secondKey,
                         KeyCombinationText(modifiers, KeyName(key)));
        }
        case kMediaFunction: {
            const uint16_t usage = static_cast<uint16_t>(b[1] | (b[2] << 8));
            for (const MediaCodeEntry& entry : kMediaCodes) {
                if (entry.consumerUsage == usage) {
                    return found(kMediaFunction, entry.value, 0, 0, Lookup(text, entry.textId));
                }
            }
            return false;
        }
        case kMacroFunction:
            return found(kMacroFunction, 0, 0, 0, {});
        case kThreeGroupFunction:
            if (const GroupCodeEntry* entry = FindByDeviceByte(kThreeGroupCodes, b[1])) {
                return found(kThreeGroupFunction, entry->value, 0, 0, Lookup(text, entry->textId));
            }
            return false;
        case kFiveGroupFunction:
            if (const GroupCodeEntry* entry = FindByDeviceByte(kFiveGroupCodes, b[1])) {
                return found(kFiveGroupFunction, entry->value, 0, 0, Lookup(text, entry->textId));
            }
            return false;
        case kFireKeyFunction: {
            int32_t value = 0;
            if (b[1] == kFireSourceMouse && b[2] != 0) {
                value = kFireSourceFactor + b[2];
            } else if (b[1] == kFireSourceKey && UsageToVirtualKey(b[2]) != 0) {
                value = kFireSourceFactor * kFireSourceKey + UsageToVirtualKey(b[2]);
            } else {
                return false;
            }
            const int32_t interval =
                std::clamp(b[3] | (b[4] << 8), kFireMinInterval, kFireMaxInterval);
            const int32_t count = std::clamp(b[5] | (b[6] << 8), kFireMinCount, kFireMaxCount);
            return found(kFireKeyFunction, value, interval, count, Lookup(text, kFireKeyTextId));
        }
        case kSystemFunction:
            for (const SystemCodeEntry& entry : kSystemCodes) {
                if (b[1] == entry.bytes[0] &&
                    b[1 + entry.matchIndex] == entry.bytes[entry.matchIndex]) {
                    return found(kSystemFunction, entry.value, 0, 0, Lookup(text, entry.textId));
                }
            }
            return false;
        case kButton85Function:
            return found(kButton85Function, 1, 0, 0, Lookup(text, kButton85TextId));
        default:
            return false;
    }
}

int ButtonFunctionTextId(int32_t kind, int32_t value) {
    switch (kind) {
        case kMouseFunction:
            if (const MouseCodeEntry* entry = FindByValue(kMouseCodes, value)) {
                return entry->textId;
            }
            return 0;
        case kMediaFunction:
            if (const MediaCodeEntry* entry = FindByValue(kMediaCodes, value)) {
                return entry->textId;
            }
            return 0;
        case kThreeGroupFunction:
            if (const GroupCodeEntry* entry = FindByValue(kThreeGroupCodes, value)) {
                return entry->textId;
            }
            return 0;
        case kFiveGroupFunction:
            if (const GroupCodeEntry* entry = FindByValue(kFiveGroupCodes, value)) {
                return entry->textId;
            }
            return 0;
        case kSystemFunction:
            if (const SystemCodeEntry* entry = FindByValue(kSystemCodes, value)) {
                return entry->textId;
            }
            return 0;
        case kFireKeyFunction:
            return kFireKeyTextId;
        case kButton85Function:
            return kButton85TextId;
        default:
            return 0;
    }
}

std::wstring DescribeButtonFunction(const ButtonAssignment& assignment, const LangTextLookup& text,
                                    const MacroNameLocaliser& localiseMacroName) {
    switch (assignment.macro_type) {
        case kKeyFunction:
            return assignment.macro_desc;
        case kMacroFunction:
            return localiseMacroName ? localiseMacroName(assignment.macro_desc)
                                     : assignment.macro_desc;
        default: {
            const int id = ButtonFunctionTextId(assignment.macro_type, assignment.macro_value);
            return id != 0 ? Lookup(text, id) : assignment.macro_desc;
        }
    }
}

ButtonFunction DefaultButtonFunction(int buttonIndex) {
    for (const DefaultFunctionEntry& entry : kDefaultFunctions) {
        if (entry.buttonIndex == buttonIndex) {
            return {entry.kind, entry.value};
        }
    }
    return {kOtherButtonsDefault.kind, kOtherButtonsDefault.value};
}
