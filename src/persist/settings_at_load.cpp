// The plug-in's settings, read while the library loads; the diagnostics log starts here too,
// when the settings switch it on.
#include <string>

#include "host/version.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/ini_file.h"
#include "persist/joined_text.h"
#include "persist/profile_reader.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"
#include "persist/settings_report.h"

namespace {

constexpr const char* LOG_FILE_NAME = "TinStarWarden.log";

// Out of the reader's reach, every setting takes its default whatever the file says: the log
// says why, and what is in force.
void logUnreachableSettings(DiagnosticsLog& log, const RawSettings& read,
                            const std::string& unreachable) {
    log.line(joined({"the settings file ", SETTINGS_PATH, " cannot be read: ", unreachable,
                     "; every setting takes its default (move the game to a folder with a "
                     "shorter path)"}));
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        log.line(joined({"  [", SETTING_ROWS[row].section, "] ", SETTING_ROWS[row].key, " = ",
                         std::to_string(read[row]), " (not read, so its default)"}));
    }
}

Settings settingsAtLoad() {
    const RawSettings read = readRawSettings(SETTINGS_PATH);
    const Settings loaded = settingsFromRaw(read);
    // Settings out of the reader's reach read as defaults, the log's switch too: the log is
    // made anyway, to say why the player's settings are not in force.
    const std::string unreachable = unreachableProfile(SETTINGS_PATH);
    if (loaded.writeLog || !unreachable.empty()) {
        DiagnosticsLog& log = diagnosticsLog();
        log.start(joined({DATA_FOLDER, "/", LOG_FILE_NAME}));
        log.line(joined({"TinStarWarden ", TSW_VERSION, " diagnostics log"}));
        if (!unreachable.empty()) {
            logUnreachableSettings(log, read, unreachable);
        } else {
            for (const std::string& line : settingsReport(readIniBytes(SETTINGS_PATH), read)) {
                log.line(line);
            }
        }
    }
    return loaded;
}

}  // namespace

const Settings settings = settingsAtLoad();
