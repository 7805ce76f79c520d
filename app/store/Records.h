#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// In-memory forms of the rows of the per-model database. Texts are wide strings here and
// UTF-8 in the file.

// One t_profile_data row; status is 1 for the active profile.
struct ProfileInfo {
    int32_t profile = 0;
    std::wstring name;
    std::wstring app;
    int32_t type = 0;
    int32_t status = 0;
};

// One t_key_macro_data row: the function given to one button (key_code is the button index).
struct ButtonAssignment {
    int32_t key_id = 0;
    int32_t profile = 0;
    int32_t fn_layer = 0;
    int32_t key_code = 0;
    int32_t layout_value = 0;
    std::wstring layout_desc;
    int32_t macro_type = 0;
    int32_t macro_value = 0;
    int32_t macro_value2 = 0;
    int32_t macro_value3 = 0;
    std::wstring macro_desc;
};

// One t_light_data row: the settings of one lighting effect of a profile.
struct LightModeSettings {
    int32_t light_id = 0;
    int32_t profile = 0;
    std::wstring name;
    int32_t mode = 0;
    int32_t brightness = 0;
    int32_t speed = 0;
    int32_t direction = 0;
    int32_t colorful = 0;
    int32_t colorindex = 0;
    int32_t color_value = 0;
    int32_t config_func = 0;
    int32_t reserved = 0;
    int32_t status = 0;
};

// One t_macro_data row. Macros belong to the database, not to a profile.
struct MacroInfo {
    int32_t macro_id = 0;
    std::wstring name;
    int32_t play_type = 0;
    int32_t play_times = 0;
    int32_t delay_type = 0;
    int32_t delay_time = 0;
};

// One t_macrorecord row: one step of a macro, at record_index.
struct MacroEvent {
    int32_t record_id = 0;
    int32_t macro_id = 0;
    int32_t type = 0;
    int32_t record_index = 0;
    int32_t value = 0;
    int32_t delay_time = 0;
    std::wstring desc;
};

using ProfileList = std::vector<std::unique_ptr<ProfileInfo>>;
using ButtonAssignmentList = std::vector<std::unique_ptr<ButtonAssignment>>;
using LightModeList = std::vector<std::unique_ptr<LightModeSettings>>;
using MacroList = std::vector<std::unique_ptr<MacroInfo>>;
using MacroEventList = std::vector<std::unique_ptr<MacroEvent>>;
