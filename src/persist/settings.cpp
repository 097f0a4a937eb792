#include "persist/settings.h"

#include <algorithm>

#include "persist/profile_reader.h"
#include "persist/setting_rows.h"

RawSettings readRawSettings(const char* path) {
    RawSettings raw{};
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        const SettingRow& setting = SETTING_ROWS[row];
        raw[row] = readProfileInt(setting.section, setting.key, setting.defaultValue, path);
    }
    return raw;
}

RawSettings heldToRanges(RawSettings raw) {
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        raw[row] = std::min(raw[row], SETTING_ROWS[row].highest);
    }
    return raw;
}

Settings settingsFromRaw(const RawSettings& read) {
    const RawSettings raw = heldToRanges(read);
    return Settings{
#define TSW_SETTING(SECTION, KEY, field, convert, ...) .field = convert(raw[rowOf(SettingId::KEY)]),
#include "persist/setting_list.inc"
#undef TSW_SETTING
    };
}

Settings readSettings(const char* path) {
    return settingsFromRaw(readRawSettings(path));
}
