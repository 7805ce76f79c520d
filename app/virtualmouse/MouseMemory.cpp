#include "app/virtualmouse/MouseMemory.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Hex(const uint8_t* data, size_t size) {
    std::string out;
    char byte[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        out += byte;
    }
    return out;
}

bool Unhex(const std::string& text, std::vector<uint8_t>& out, size_t maxSize) {
    if (text.size() % 2 != 0 || text.size() / 2 > maxSize) {
        return false;
    }
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        char* end = nullptr;
        std::string pair = text.substr(i, 2);
        long v = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) {
            return false;
        }
        out.push_back(static_cast<uint8_t>(v));
    }
    return true;
}

std::vector<int> Numbers(const std::string& text) {
    std::vector<int> values;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        values.push_back(static_cast<int>(std::strtol(part.c_str(), nullptr, 0)));
    }
    return values;
}

template <size_t N>
std::string Join(const std::array<int, N>& values) {
    std::string out;
    for (size_t i = 0; i < N; ++i) {
        out += (i ? "," : "") + std::to_string(values[i]);
    }
    return out;
}

}  // namespace

MouseMemory::MouseMemory() {
    for (int p = 0; p < kProfiles; ++p) {
        ResetButtons(p);
    }
}

std::array<uint8_t, 10> MouseMemory::DefaultButton(int button) {
    // Left, right, middle, back and forward; the DPI button cycles the levels.
    static const uint8_t mouseBits[5] = {0x01, 0x02, 0x04, 0x08, 0x10};
    std::array<uint8_t, 10> bytes{};
    if (button < 5) {
        bytes[0] = 1;
        bytes[1] = mouseBits[button];
    } else if (button == 7) {
        bytes[0] = 6;
        bytes[1] = 1;
    }
    return bytes;
}

void MouseMemory::ResetButtons(int profile) {
    for (int b = 0; b < kButtons; ++b) {
        profiles[profile].buttons[b] = DefaultButton(b);
        profiles[profile].macros[b].clear();
        profiles[profile].macro_names[b].clear();
    }
}

void MouseMemory::FactoryReset() {
    int keepBattery = battery;
    int keepCharging = charging;
    *this = MouseMemory();
    battery = keepBattery;
    charging = keepCharging;
}

std::string MouseMemory::Serialise() const {
    std::ostringstream out;
    out << "talvane-virtual-mouse-state=1\n";
    out << "active_profile=" << active_profile << "\nwakeup_mode=" << wakeup_mode
        << "\nbattery=" << battery << "\ncharging=" << charging << "\nlight_mode=" << light_mode
        << "\nmacro_memory=" << macro_memory << "\n";
    for (int m = 0; m < kLightingModes; ++m) {
        out << "light." << m << "=" << lighting[m].brightness << "," << lighting[m].speed << ","
            << lighting[m].colour << "\n";
    }
    for (int p = 0; p < kProfiles; ++p) {
        const MouseProfile& pr = profiles[p];
        std::string key = "profile." + std::to_string(p) + ".";
        out << key << "dpi=" << Join(pr.dpi) << "\n"
            << key << "dpi_count=" << pr.dpi_count << "\n"
            << key << "level=" << Join(pr.level) << "\n"
            << key << "rate=" << Join(pr.rate) << "\n"
            << key << "sensor=" << pr.sensor << "\n"
            << key << "dpi_flag=" << pr.dpi_flag << "\n"
            << key << "debounce=" << pr.debounce << "\n";
        for (int b = 0; b < kButtons; ++b) {
            out << key << "button." << b << "=" << Hex(pr.buttons[b].data(), 10) << "\n";
            if (!pr.macros[b].empty()) {
                out << key << "macro." << b << "=" << Hex(pr.macros[b].data(), pr.macros[b].size())
                    << "\n";
            }
            if (!pr.macro_names[b].empty()) {
                const auto* name = reinterpret_cast<const uint8_t*>(pr.macro_names[b].data());
                out << key << "macro_name." << b << "=" << Hex(name, pr.macro_names[b].size())
                    << "\n";
            }
        }
    }
    return out.str();
}

bool MouseMemory::Deserialise(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "talvane-virtual-mouse-state=1") {
        return false;
    }
    MouseMemory m;
    for (int p = 0; p < kProfiles; ++p) {
        for (int b = 0; b < kButtons; ++b) {
            m.profiles[p].buttons[b] = {};
        }
    }
    auto clampInt = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        int number = static_cast<int>(std::strtol(value.c_str(), nullptr, 0));
        std::vector<int> list = Numbers(value);
        if (key == "active_profile") {
            m.active_profile = clampInt(number, 0, kProfiles - 1);
        } else if (key == "wakeup_mode") {
            m.wakeup_mode = number;
        } else if (key == "battery") {
            m.battery = clampInt(number, 0, 100);
        } else if (key == "charging") {
            m.charging = number;
        } else if (key == "light_mode") {
            m.light_mode = clampInt(number, 0, kLightingModes - 1);
        } else if (key == "macro_memory") {
            m.macro_memory = number;
        } else if (key.rfind("light.", 0) == 0 && list.size() == 3) {
            int mode = std::atoi(key.c_str() + 6);
            if (mode >= 0 && mode < kLightingModes) {
                m.lighting[mode] = {list[0], list[1], static_cast<uint32_t>(list[2])};
            }
        } else if (key.rfind("profile.", 0) == 0) {
            int p = std::atoi(key.c_str() + 8);
            size_t dot = key.find('.', 8);
            if (p < 0 || p >= kProfiles || dot == std::string::npos) {
                continue;
            }
            MouseProfile& pr = m.profiles[p];
            std::string field = key.substr(dot + 1);
            if (field == "dpi" && list.size() == 5) {
                std::copy(list.begin(), list.end(), pr.dpi.begin());
            } else if (field == "dpi_count") {
                pr.dpi_count = clampInt(number, 1, 5);
            } else if (field == "level" && list.size() == 3) {
                std::copy(list.begin(), list.end(), pr.level.begin());
            } else if (field == "rate" && list.size() == 3) {
                std::copy(list.begin(), list.end(), pr.rate.begin());
            } else if (field == "sensor") {
                pr.sensor = number;
            } else if (field == "dpi_flag") {
                pr.dpi_flag = number;
            } else if (field == "debounce") {
                pr.debounce = number;
            } else {
                size_t at = field.find('.');
                int b = at == std::string::npos ? -1 : std::atoi(field.c_str() + at + 1);
                if (b < 0 || b >= kButtons) {
                    continue;
                }
                std::string what = field.substr(0, at);
                std::vector<uint8_t> bytes;
                if (what == "button" && Unhex(value, bytes, 10) && bytes.size() == 10) {
                    std::copy(bytes.begin(), bytes.end(), pr.buttons[b].begin());
                } else if (what == "macro" && Unhex(value, bytes, 4096)) {
                    pr.macros[b] = bytes;
                } else if (what == "macro_name" && Unhex(value, bytes, 61)) {
                    pr.macro_names[b].assign(bytes.begin(), bytes.end());
                }
            }
        }
    }
    *this = m;
    return true;
}

bool MouseMemory::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return Deserialise(text.str());
}

bool MouseMemory::Save(const std::string& path) const {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << Serialise();
        out.flush();
        if (!out) {
            return false;
        }
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
