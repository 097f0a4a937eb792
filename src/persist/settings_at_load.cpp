// The plug-in's settings, read while the library loads; the diagnostics log starts here too,
// when the settings switch it on.
#include <string>

#include "host/version.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/joined_text.h"
#include "persist/profile_reader.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"

namespace {

constexpr const char* LOG_FILE_NAME = "TinStarWarden.log";

// Where the value in force came from; a held value also says what the file said.
std::string origin(std::size_t row, const RawSettings& read, const RawSettings& held, bool inFile) {
    if (!inFile) {
        return "missing, so its default";
    }
    for (const SettingRange& range : SETTING_RANGES) {
        if (range.row == row && held[row] != read[row]) {
            return joined({"held to its range 0 to ", std::to_string(range.highest), ", ",
                           range.meaning, ": the file says ", std::to_string(read[row]),
                           ", and a negative number reads as a very large one"});
        }
    }
    return "from the file";
}

// The version, then every setting with its value in force and where that came from; first why
// the file could not be read, when it is there but out of the reader's reach.
void logSettings(DiagnosticsLog& log, const RawSettings& read, const std::string& unreachable) {
    log.line(joined({"TinStarWarden ", TSW_VERSION, " diagnostics log"}));
    if (!unreachable.empty()) {
        log.line(joined({"the settings file ", SETTINGS_PATH, " cannot be read: ", unreachable,
                         "; every setting takes its default (move the game to a folder with a "
                         "shorter path)"}));
    }
    log.line(joined({"settings in force, read from ", SETTINGS_PATH, ":"}));
    const RawSettings held = heldToRanges(read);
    const auto inFile = settingsInFile(SETTINGS_PATH, read);
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        const std::string from =
            unreachable.empty() ? origin(row, read, held, inFile[row]) : "not read, so its default";
        log.line(joined({"  [", SETTING_ROWS[row].section, "] ", SETTING_ROWS[row].key, " = ",
                         std::to_string(held[row]), " (", from, ")"}));
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
        logSettings(log, read, unreachable);
    }
    return loaded;
}

}  // namespace

const Settings settings = settingsAtLoad();
