#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "persist/settings.h"

// The top of the range of a setting that has none: every value stands as read.
inline constexpr std::uint32_t NO_RANGE = std::numeric_limits<std::uint32_t>::max();

// One integer of the settings file (setting_list.inc says what each column holds).
struct SettingRow {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
    std::uint32_t shipped;
    std::uint32_t highest;
    const char* does;  // null for a setting that is no key
};

// The settings in the order in which they are read, one row per field of Settings.
inline constexpr auto SETTING_ROWS = std::to_array<SettingRow>({
#define TSW_SETTING(SECTION, KEY, field, convert, missing, shipped, highest, does, ...) \
    {#SECTION, #KEY, missing, shipped, highest, does},
#include "persist/setting_list.inc"
#undef TSW_SETTING
});
inline constexpr std::size_t SETTING_COUNT = SETTING_ROWS.size();

// A setting named where a caller means that one: SettingId::RESET_KEY.
enum class SettingId : std::size_t {
#define TSW_SETTING(SECTION, KEY, ...) KEY,
#include "persist/setting_list.inc"
#undef TSW_SETTING
};

constexpr std::size_t rowOf(SettingId id) {
    return static_cast<std::size_t>(id);
}

// The file's integers before any scaling, in row order.
using RawSettings = std::array<std::uint32_t, SETTING_COUNT>;

RawSettings readRawSettings(const char* path);
// The values with each held to its range (a value beyond it counts as its top). The profile
// reader gives unsigned values, so a negative number in the file arrives beyond the top of its
// range. Without a range a single bad number could, say, make each edit step wait for hours.
RawSettings heldToRanges(RawSettings raw);
Settings settingsFromRaw(const RawSettings& raw);
