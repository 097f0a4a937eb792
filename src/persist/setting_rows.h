#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "persist/settings.h"

// One integer of the settings file: where it lives and what a missing one reads as.
struct SettingRow {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
};

inline constexpr std::size_t SETTING_COUNT = 19;

// The order in which the values are read, one row per field of Settings.
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
}};
// clang-format on

// The file's integers before any scaling, in row order.
using RawSettings = std::array<std::uint32_t, SETTING_COUNT>;

RawSettings readRawSettings(const char* path);
Settings settingsFromRaw(const RawSettings& raw);
