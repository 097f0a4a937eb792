#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "persist/settings.h"

// One integer of the settings file: where it lives, what a missing one reads as, what the
// shipped TinStarWarden.ini holds, and for a key what it does (as the log and the file's notes
// say it: "Numpad 6 moves the badge right").
struct SettingRow {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
    std::uint32_t shipped;
    const char* does;  // null for a setting that is no key
};

inline constexpr std::size_t SETTING_COUNT = 20;

// The order in which the values are read, one row per field of Settings. The diagnostics
// switch comes last, after the badge's own settings.
// clang-format off
inline constexpr std::array<SettingRow, SETTING_COUNT> SETTING_ROWS = {{
    {"MARSHAL_GREETING", "ENABLE_GREETING",         1, 1,    nullptr},
    {"MARSHAL_GREETING", "GREETING_FREQUENCY",      0, 2,    nullptr},
    {"BADGE_ADJUSTING",  "MOVING_SPEED",            0, 100,  nullptr},
    {"BADGE_ADJUSTING",  "ROTATING_SPEED",          0, 100,  nullptr},
    {"BADGE_ADJUSTING",  "REFRESH_SPEED",           0, 1000, nullptr},
    {"BADGE_ADJUSTING",  "GO_RIGHT_KEY",            0, 102,  "moves the badge right"},
    {"BADGE_ADJUSTING",  "GO_LEFT_KEY",             0, 100,  "moves the badge left"},
    {"BADGE_ADJUSTING",  "GO_CLOSER_KEY",           0, 104,  "moves the badge closer"},
    {"BADGE_ADJUSTING",  "GO_FARTHER_KEY",          0, 98,   "moves the badge farther"},
    {"BADGE_ADJUSTING",  "GO_UP_KEY",               0, 33,   "moves the badge up"},
    {"BADGE_ADJUSTING",  "GO_DOWN_KEY",             0, 34,   "moves the badge down"},
    {"BADGE_ADJUSTING",  "ROTATE_DOWN_KEY",         0, 35,   "tilts the badge down"},
    {"BADGE_ADJUSTING",  "ROTATE_UP_KEY",           0, 36,   "tilts the badge up"},
    {"BADGE_ADJUSTING",  "ROTATE_Z_PLUS_KEY",       0, 107,  "tilts the badge sideways one way"},
    {"BADGE_ADJUSTING",  "ROTATE_Z_MINUS_KEY",      0, 109,  "tilts the badge sideways the other way"},
    {"BADGE_ADJUSTING",  "ROTATE_RIGHT_KEY",        0, 105,  "turns the badge right"},
    {"BADGE_ADJUSTING",  "ROTATE_LEFT_KEY",         0, 103,  "turns the badge left"},
    {"BADGE_ADJUSTING",  "RESET_KEY",               0, 101,  "puts the badge back where it started"},
    {"BADGE_ADJUSTING",  "ENABLE_DISABLE_EDIT_KEY", 0, 96,   "switches badge adjustment on and off"},
    {"DIAGNOSTICS",      "WRITE_LOG",               0, 0,    nullptr},
}};
// clang-format on

// Rows named where a caller means one setting.
inline constexpr std::size_t RESET_KEY_ROW = 17;
inline constexpr std::size_t EDIT_TOGGLE_KEY_ROW = 18;
static_assert(std::string_view(SETTING_ROWS[RESET_KEY_ROW].key) == "RESET_KEY" &&
              std::string_view(SETTING_ROWS[EDIT_TOGGLE_KEY_ROW].key) == "ENABLE_DISABLE_EDIT_KEY");

// The file's integers before any scaling, in row order.
using RawSettings = std::array<std::uint32_t, SETTING_COUNT>;

// A setting with a documented range, 0 to `highest`: a value read beyond it is held to it.
// Without one a single bad number could, say, make each edit step wait for hours.
struct SettingRange {
    std::size_t row;
    std::uint32_t highest;
};

// A move of 0.1 a step, a turn of 360 degrees, a wait of a second.
inline constexpr std::array<SettingRange, 3> SETTING_RANGES = {
    {{2, 10000}, {3, 36000}, {4, 100000}}};
static_assert(std::string_view(SETTING_ROWS[SETTING_RANGES[0].row].key) == "MOVING_SPEED" &&
              std::string_view(SETTING_ROWS[SETTING_RANGES[1].row].key) == "ROTATING_SPEED" &&
              std::string_view(SETTING_ROWS[SETTING_RANGES[2].row].key) == "REFRESH_SPEED");

RawSettings readRawSettings(const char* path);
// The values with each one of SETTING_RANGES held to its range. The profile reader gives
// unsigned values, so a negative number in the file arrives beyond the top of its range.
RawSettings heldToRanges(RawSettings raw);
Settings settingsFromRaw(const RawSettings& raw);
