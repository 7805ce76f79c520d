#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The onboard memory of the virtual mouse: what a real one keeps across power cycles.
struct MouseProfile {
    std::array<int, 5> dpi{1000, 1600, 3200, 5000, 12000};
    int dpi_count = 4;
    std::array<int, 3> level{1, 1, 1};  // current DPI level per connection: cable, receiver, BT
    std::array<int, 3> rate{3, 3, 3};   // report-rate code per connection
    int sensor = 0x35;                  // lift-off in bits 0-1, switches 0x04 0x08 0x10, 0x40, 0x80
    int dpi_flag = 4;
    int debounce = 8;
    // Function bytes of buttons 0 to 17, byte 0 the kind.
    std::array<std::array<uint8_t, 10>, 18> buttons{};
    std::array<std::vector<uint8_t>, 18> macros;  // device form
    std::array<std::string, 18> macro_names;      // ANSI bytes
};

struct LightingMode {
    int brightness = 100;
    int speed = 3;
    uint32_t colour = 0x0000FF;
};

struct MouseMemory {
    static constexpr int kProfiles = 5;
    static constexpr int kLightingModes = 8;
    static constexpr int kButtons = 18;

    int active_profile = 0;
    int wakeup_mode = 4;
    int battery = 85;
    int charging = 0;
    int light_mode = 1;
    std::array<LightingMode, kLightingModes> lighting{};
    std::array<MouseProfile, kProfiles> profiles{};
    int macro_memory = 0;  // bytes of macro memory in use

    MouseMemory();
    // The functions a button has when nothing was assigned.
    static std::array<uint8_t, 10> DefaultButton(int button);
    void ResetButtons(int profile);
    void FactoryReset();

    std::string Serialise() const;
    // false (and the memory unchanged) when the text is not a state file.
    bool Deserialise(const std::string& text);
    bool Load(const std::string& path);
    // Written whole to a temporary file and renamed over the old one.
    bool Save(const std::string& path) const;
};
