#include "persist/settings.h"

#include <algorithm>

#include "persist/profile_reader.h"
#include "persist/setting_rows.h"

namespace {

constexpr std::uint32_t GREETING_CHANCE_SCALE = 1000;
constexpr float MOVING_SPEED_SCALE = 0.00001f;
constexpr float ROTATING_SPEED_SCALE = 0.01f;
constexpr float REFRESH_SPEED_SCALE = 0.01f;

// Single precision on purpose: the float constant, not 0.01 as a double, fixes the steps.
float scaled(std::uint32_t value, float scale) {
    return static_cast<float>(value) * scale;
}

}  // namespace

RawSettings readRawSettings(const char* path) {
    RawSettings raw{};
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        const SettingRow& setting = SETTING_ROWS[row];
        raw[row] = readProfileInt(setting.section, setting.key, setting.defaultValue, path);
    }
    return raw;
}

RawSettings heldToRanges(RawSettings raw) {
    for (const SettingRange& range : SETTING_RANGES) {
        raw[range.row] = std::min(raw[range.row], range.highest);
    }
    return raw;
}

Settings settingsFromRaw(const RawSettings& read) {
    const RawSettings raw = heldToRanges(read);
    return Settings{
        .greetingEnabled = raw[0] != 0,
        // Wraps modulo 2^32 as the profile reader's unsigned value does.
        .greetingChanceThreshold = static_cast<std::int32_t>(raw[1] * GREETING_CHANCE_SCALE),
        .movingSpeed = scaled(raw[2], MOVING_SPEED_SCALE),
        .rotatingSpeed = scaled(raw[3], ROTATING_SPEED_SCALE),
        .refreshSpeed = scaled(raw[4], REFRESH_SPEED_SCALE),
        .goRightKey = raw[5],
        .goLeftKey = raw[6],
        .goCloserKey = raw[7],
        .goFartherKey = raw[8],
        .goUpKey = raw[9],
        .goDownKey = raw[10],
        .rotateDownKey = raw[11],
        .rotateUpKey = raw[12],
        .rotateZPlusKey = raw[13],
        .rotateZMinusKey = raw[14],
        .rotateRightKey = raw[15],
        .rotateLeftKey = raw[16],
        .resetKey = raw[17],
        .editToggleKey = raw[18],
        .writeLog = raw[19] != 0,
    };
}

Settings readSettings(const char* path) {
    return settingsFromRaw(readRawSettings(path));
}
