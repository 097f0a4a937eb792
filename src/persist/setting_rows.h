#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "persist/settings.h"

// One integer of the settings file: where it lives and what a missing one reads as.
struct SettingRow {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
};

inline constexpr std::size_t SETTING_COUNT = 20;

// The order in which the values are read, one row per field of Settings. The diagnostics
// switch comes last, after the badge's own settings.
// clang-format off
inline constexpr std::array<SettingRow, SETTING_COUNT> SETTING_ROWS = {{
    {"MARSHAL_GREETING", "ENABLE_GREETING",         1},
    {"MARSHAL_GREETING", "GREETING_FREQUENCY",      0},
    {"BADGE_ADJUSTING",  "MOVING_SPEED",            0},
    {"BADGE_ADJUSTING",  "ROTATING_SPEED",          0},
    {"BADGE_ADJUSTING",  "REFRESH_SPEED",           0},
    {"BADGE_ADJUSTING",  "GO_RIGHT_KEY",            0},
    {"BADGE_ADJUSTING",  "GO_LEFT_KEY",             0},
    {"BADGE_ADJUSTING",  "GO_CLOSER_KEY",           0},
    {"BADGE_ADJUSTING",  "GO_FARTHER_KEY",          0},
    {"BADGE_ADJUSTING",  "GO_UP_KEY",               0},
    {"BADGE_ADJUSTING",  "GO_DOWN_KEY",             0},
    {"BADGE_ADJUSTING",  "ROTATE_DOWN_KEY",         0},
    {"BADGE_ADJUSTING",  "ROTATE_UP_KEY",           0},
    {"BADGE_ADJUSTING",  "ROTATE_Z_PLUS_KEY",       0},
    {"BADGE_ADJUSTING",  "ROTATE_Z_MINUS_KEY",      0},
    {"BADGE_ADJUSTING",  "ROTATE_RIGHT_KEY",        0},
    {"BADGE_ADJUSTING",  "ROTATE_LEFT_KEY",         0},
    {"BADGE_ADJUSTING",  "RESET_KEY",               0},
    {"BADGE_ADJUSTING",  "ENABLE_DISABLE_EDIT_KEY", 0},
    {"DIAGNOSTICS",      "WRITE_LOG",               0},
}};
// clang-format on

// The file's integers before any scaling, in row order.
using RawSettings = std::array<std::uint32_t, SETTING_COUNT>;

// A setting with a documented range, 0 to `highest`: a value read beyond it is held to it.
// Without one a single bad number could, say, make each edit step wait for hours.
struct SettingRange {
    std::size_t row;
    std::uint32_t highest;
    const char* meaning;  // what the highest value means, for the diagnostics log
};

// clang-format off
inline constexpr std::array<SettingRange, 3> SETTING_RANGES = {{
    {2, 10000,  "a move of 0.1 a step"},
    {3, 36000,  "a turn of 360 degrees a step"},
    {4, 100000, "a wait of a second a step"},
}};
// clang-format on
static_assert(std::string_view(SETTING_ROWS[SETTING_RANGES[0].row].key) == "MOVING_SPEED" &&
              std::string_view(SETTING_ROWS[SETTING_RANGES[1].row].key) == "ROTATING_SPEED" &&
              std::string_view(SETTING_ROWS[SETTING_RANGES[2].row].key) == "REFRESH_SPEED");

RawSettings readRawSettings(const char* path);
// Which of the values read are in the file: read again with another default, a value from the
// file reads the same, a missing one (or one with an empty value) gives the new default.
std::array<bool, SETTING_COUNT> settingsInFile(const char* path, const RawSettings& read);
// The values with each one of SETTING_RANGES held to its range. The profile reader gives
// unsigned values, so a negative number in the file arrives beyond the top of its range.
RawSettings heldToRanges(RawSettings raw);
Settings settingsFromRaw(const RawSettings& raw);
