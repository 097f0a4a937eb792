// The plug-in's settings, read while the library loads; the diagnostics log starts here too,
// when the settings switch it on.
#include <string>

#include "host/version.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"

namespace {

constexpr const char* LOG_FILE_NAME = "TinStarWarden.log";

std::string settingName(std::size_t row) {
    return std::string("[") + SETTING_ROWS[row].section + "] " + SETTING_ROWS[row].key;
}

// The version, every value as read, and each value held to its range with the reason.
void logSettings(DiagnosticsLog& log, const RawSettings& read) {
    log.line(std::string("TinStarWarden ") + TSW_VERSION + " diagnostics log");
    log.line(std::string("settings read from ") + SETTINGS_PATH +
             " (a missing setting reads as its default):");
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        log.line("  " + settingName(row) + " = " + std::to_string(read[row]));
    }
    const RawSettings held = heldToRanges(read);
    for (const SettingRange& range : SETTING_RANGES) {
        if (held[range.row] != read[range.row]) {
            log.line(settingName(range.row) + " = " + std::to_string(read[range.row]) +
                     " is beyond its range 0 to " + std::to_string(range.highest) + " (" +
                     range.meaning + "; a negative number reads as a very large one): held to " +
                     std::to_string(held[range.row]));
        }
    }
}

Settings settingsAtLoad() {
    const RawSettings read = readRawSettings(SETTINGS_PATH);
    const Settings loaded = settingsFromRaw(read);
    if (loaded.writeLog) {
        DiagnosticsLog& log = diagnosticsLog();
        log.start(std::string(DATA_FOLDER) + "/" + LOG_FILE_NAME);
        logSettings(log, read);
    }
    return loaded;
}

}  // namespace

const Settings settings = settingsAtLoad();
