#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/store/Records.h"

class DeviceCommands;
class DeviceDataDB;
class MacroFlash;
class Sleeper;

// The device form of a macro: header (1, play_times | play_type << 13, delay_time, item count)
// and 4 bytes per event in record_index order.
std::vector<uint8_t> EncodeMacro(const MacroInfo& macro, const MacroEventList& events);

// A stored macro name as it is sent and compared: a name that begins with another language's
// default word gets this language's word (text 351).
std::wstring LocaliseDeviceMacroName(const std::wstring& name, int languageId,
                                     const std::wstring& customWord);

// Macros to and from the mouse's macro memory, with the memory position kept by flash.
class MacroTransfer {
public:
    using TextLookup = std::function<std::wstring(int id)>;

    MacroTransfer(DeviceCommands& commands, DeviceDataDB& db, MacroFlash& flash, Sleeper& clock);

    // Defaults: the current language and its texts.
    void SetLanguage(std::function<int()> languageId, TextLookup text);

    bool SendMacro(int button, int macroId);
    bool SendMacroName(int button, int macroId);
    // Empty when the exchange fails.
    std::wstring ReadMacroName(int button);
    // A macro read from the mouse: matched by name or stored as a new one, and assigned to the
    // button in profile. The macro id, or 0 when the bytes are no macro.
    int DecodeDeviceMacro(int profile, int button, const uint8_t* bytes, size_t length);

    // The worker's check on every pass.
    void CountPendingIfDue();

private:
    std::wstring Localise(const std::wstring& name) const;

    DeviceCommands& commands_;
    DeviceDataDB& db_;
    MacroFlash& flash_;
    Sleeper& clock_;
    std::function<int()> languageId_;
    TextLookup text_;
};
