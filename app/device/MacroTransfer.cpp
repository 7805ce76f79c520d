#include "app/device/MacroTransfer.h"

#include <algorithm>
#include <cwchar>

#include "app/device/AnsiText.h"
#include "app/device/DeviceCommands.h"
#include "app/device/DeviceReports.h"
#include "app/device/MacroFlash.h"
#include "app/device/Sleeper.h"
#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "app/pages/KeyCodes.h"
#include "app/store/DeviceDataDB.h"

using namespace DeviceReports;

namespace {

constexpr size_t kHeaderLength = 6;
constexpr size_t kItemLength = 4;
constexpr size_t kMaxSingleReportItems = 13;

uint8_t Low(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

// Item bytes 1 to 3 of one event.
std::array<uint8_t, 3> EncodeEvent(const MacroEvent& e) {
    const bool up = e.desc.find(L"Scroll Up") != std::wstring::npos;
    const bool down = e.desc.find(L"Scroll Down") != std::wstring::npos;
    const int v = e.value;
    switch (e.type) {
        case 1:
            return {0x0F, Low(v), Low(v >> 8)};
        case 2:
            return {0x81, Low(VirtualKeyToUsage(v)), 0};
        case 3:
            return {0x01, Low(VirtualKeyToUsage(v)), 0};
        case 4:
        case 5:
            if (up) {
                return {0x05, Low(v), 0};
            }
            if (down) {
                return {0x05, Low(-v), 0};
            }
            return {static_cast<uint8_t>(e.type == 4 ? 0x88 : 0x08), Low(v), 0};
        case 6:
            return {0x05, Low(v), 0};
        case 7:
            return {0x05, Low(-v), 0};
        case 8:
            return {0x09, 0, Low(-v)};
        case 9:
            return {0x09, 0, Low(v)};
        case 10:
            return {0x09, Low(-v), 0};
        case 11:
            return {0x09, Low(v), 0};
        default:
            return {0, 0, 0};
    }
}

std::wstring Format(const wchar_t* format, const std::wstring& text) {
    wchar_t buffer[300];
    int n = std::swprintf(buffer, std::size(buffer), format, text.c_str());
    return n < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(n));
}

std::wstring FormatNumber(const wchar_t* format, int value) {
    wchar_t buffer[64];
    int n = std::swprintf(buffer, std::size(buffer), format, value);
    return n < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(n));
}

}  // namespace

std::vector<uint8_t> EncodeMacro(const MacroInfo& macro, const MacroEventList& events) {
    std::vector<const MacroEvent*> ordered;
    for (const auto& e : events) {
        if (e) {
            ordered.push_back(e.get());
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const MacroEvent* a, const MacroEvent* b) {
        return a->record_index < b->record_index;
    });
    // The count is one byte; the pages allow far fewer items than that.
    if (ordered.size() > 255) {
        ordered.resize(255);
    }
    const int play = (macro.play_times & 0x1FFF) | ((macro.play_type & 0x7) << 13);
    std::vector<uint8_t> out = {1,
                                Low(play),
                                Low(play >> 8),
                                Low(macro.delay_time),
                                Low(macro.delay_time >> 8),
                                static_cast<uint8_t>(ordered.size())};
    for (const MacroEvent* e : ordered) {
        std::array<uint8_t, 3> item = EncodeEvent(*e);
        out.push_back(0);
        out.insert(out.end(), item.begin(), item.end());
    }
    return out;
}

std::wstring LocaliseDeviceMacroName(const std::wstring& name, int languageId,
                                     const std::wstring& customWord) {
    std::wstring_view otherWord;
    if (languageId == 2052) {
        otherWord = L"Custom";
    } else if (languageId == 1033) {
        otherWord = L"\u81EA\u5B9A\u4E49";
    } else {
        return name;
    }
    if (name.compare(0, otherWord.size(), otherWord) != 0) {
        return name;
    }
    return customWord + name.substr(otherWord.size());
}

MacroTransfer::MacroTransfer(DeviceCommands& commands, DeviceDataDB& db, MacroFlash& flash,
                             Sleeper& clock)
    : commands_(commands),
      db_(db),
      flash_(flash),
      clock_(clock),
      languageId_([] { return CurrentLanguageId(); }),
      text_([](int id) { return GetLangText(L"LAN", id); }) {}

void MacroTransfer::SetLanguage(std::function<int()> languageId, TextLookup text) {
    languageId_ = std::move(languageId);
    text_ = std::move(text);
}

std::wstring MacroTransfer::Localise(const std::wstring& name) const {
    return LocaliseDeviceMacroName(name, languageId_(), text_(351));
}

void MacroTransfer::CountPendingIfDue() {
    flash_.CountPendingIfDue(clock_.NowMs());
}

bool MacroTransfer::SendMacro(int button, int macroId) {
    flash_.CountPendingBefore(button, clock_.NowMs());
    MacroInfo macro;
    if (!db_.GetMacro(macroId, macro)) {
        return false;
    }
    MacroEventList events;
    db_.ListMacroEvents(macroId, events);
    std::vector<uint8_t> form = EncodeMacro(macro, events);

    // A macro must not end two bytes short of a 256-byte page of the mouse's memory.
    const uint32_t position = static_cast<uint32_t>(flash_.Position());
    if (((position + form.size() + 4) & 0xFF) == 254 && form[5] < 255) {
        form.insert(form.end(), kItemLength, 0);
        form[5] = static_cast<uint8_t>(form[5] + 1);
    }
    const size_t items = form[5];
    const uint8_t index = static_cast<uint8_t>(button);

    if (items <= kMaxSingleReportItems) {
        Report r = Empty(0x52, 0x54, kBulkLength);
        r[2] = index;
        r[4] = static_cast<uint8_t>(form.size());
        std::copy(form.begin(), form.end(), r.begin() + 5);
        if (!commands_.Send(r, "0x52 0x54")) {
            return false;
        }
    } else {
        for (size_t offset = 0; offset < form.size(); offset += kMacroPacketData) {
            const size_t n = std::min(kMacroPacketData, form.size() - offset);
            Report r = Empty(0x52, 0x55, kBulkLength);
            r[2] = index;
            r[3] = offset + n < form.size() ? 1 : 0;
            r[4] = Low(static_cast<int>(offset));
            r[5] = Low(static_cast<int>(offset >> 8));
            r[6] = static_cast<uint8_t>(n);
            std::copy(form.begin() + offset, form.begin() + offset + n, r.begin() + 7);
            if (!commands_.Send(r, "0x52 0x55")) {
                return false;
            }
        }
    }
    if (items > 0) {
        flash_.SetPending(button, static_cast<int>(form.size()), clock_.NowMs());
    }
    return true;
}

bool MacroTransfer::SendMacroName(int button, int macroId) {
    MacroInfo macro;
    if (!db_.GetMacro(macroId, macro)) {
        return false;
    }
    std::string bytes = WideToAnsi(Localise(macro.name), languageId_());
    // Longer names are cut at what the report holds (one byte per character in these code pages).
    if (bytes.size() > kMacroNameMax) {
        bytes.resize(kMacroNameMax);
    }
    Report r = Empty(0x52, 0x53, kBulkLength);
    r[2] = static_cast<uint8_t>(button);
    r[3] = static_cast<uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), r.begin() + 4);
    return commands_.Send(r, "0x52 0x53");
}

std::wstring MacroTransfer::ReadMacroName(int button) {
    Report r = BuildMacroNameQuery(static_cast<uint8_t>(button));
    if (!commands_.ReadExchange(r, "0x52 0x63")) {
        return {};
    }
    std::string bytes = ParseMacroName(r.data(), r.size());
    return Localise(AnsiToWide(bytes, languageId_()));
}

int MacroTransfer::DecodeDeviceMacro(int profile, int button, const uint8_t* bytes, size_t length) {
    if (bytes == nullptr || length < kHeaderLength) {
        return 0;
    }
    const int32_t start = static_cast<int32_t>(clock_.NowMs());
    const std::wstring name = ReadMacroName(button);
    const int declaredItems = bytes[5];
    // Only whole items that arrived are read, whatever the count byte claims.
    const size_t items = std::min<size_t>(static_cast<size_t>(declaredItems),
                                          (length - kHeaderLength) / kItemLength);

    int macroId = 0;
    if (!name.empty()) {
        MacroList macros;
        db_.ListMacros(macros);
        for (const auto& m : macros) {
            if (m && Localise(m->name) == name) {
                macroId = m->macro_id;
                break;
            }
        }
    }
    if (macroId == 0) {
        MacroInfo info;
        info.name = name;
        const int v = bytes[1] + 256 * bytes[2];
        info.play_type = v / 8192;
        info.play_times = v % 4096;
        if (bytes[3] != 0 || bytes[4] != 0) {
            info.delay_type = 2;
            info.delay_time = bytes[3] + 256 * bytes[4];
        } else {
            info.delay_type = 1;
            info.delay_time = 0;
        }
        std::vector<MacroEvent> events;
        int32_t lastKeyDown = start;
        int32_t lastButtonDown = start;
        int nonEmpty = 0;
        for (size_t i = 0; i < items; ++i) {
            const uint8_t* item = bytes + kHeaderLength + kItemLength * i;
            if (item[0] == 0 && item[1] == 0 && item[2] == 0 && item[3] == 0) {
                continue;
            }
            MacroEvent e;
            e.record_index = static_cast<int32_t>(events.size());
            int32_t stamp = start + nonEmpty;
            ++nonEmpty;
            const uint8_t code = item[1];
            const uint8_t b2 = item[2];
            if (code == 0x0F) {
                e.type = 1;
                e.value = b2 + 256 * item[3];
                e.desc = FormatNumber(L" -   %d ms", e.value);
            } else if (code == 0x01) {
                e.type = 3;
                e.value = UsageToVirtualKey(b2);
                e.desc = Format(L"\u2191  %ls", KeyName(b2));
                stamp = lastKeyDown;
            } else if (code == 0x81) {
                e.type = 2;
                e.value = UsageToVirtualKey(b2);
                e.desc = Format(L"\u2193  %ls", KeyName(b2));
                lastKeyDown = stamp;
            } else if (code == 0x08) {
                e.type = 5;
                e.value = b2;
                e.desc = Format(L"\u2191  %ls", MouseButtonName(b2));
                stamp = lastButtonDown;
            } else if (code == 0x88) {
                e.type = 4;
                e.value = b2;
                e.desc = Format(L"\u2193  %ls", MouseButtonName(b2));
                lastButtonDown = stamp;
            } else if (code == 0x05 && (b2 == 1 || b2 == 2)) {
                e.type = b2 == 1 ? 4 : 5;
                e.value = b2;
                e.desc = text_(112);
                lastButtonDown = stamp;
            } else if (code == 0x05 && (b2 == 255 || b2 == 254)) {
                e.type = b2 == 255 ? 4 : 5;
                e.value = b2 == 255 ? 1 : 2;
                e.desc = text_(113);
                stamp = lastButtonDown;
            }
            e.delay_time = stamp;
            events.push_back(std::move(e));
        }
        macroId = db_.AddMacroWithSettings(info);
        if (macroId <= 0) {
            return 0;
        }
        for (MacroEvent& e : events) {
            e.macro_id = macroId;
        }
        db_.AddMacroEvents(events);
    }

    ButtonAssignment a;
    a.profile = profile;
    a.key_code = button;
    a.macro_type = 4;
    a.macro_value = macroId;
    a.macro_desc = name;
    db_.SaveButtonAssignment(a);

    flash_.AdvanceOver(static_cast<int>(kHeaderLength + kItemLength * declaredItems));
    return macroId;
}
