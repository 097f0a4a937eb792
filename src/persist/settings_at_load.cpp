// The plug-in's settings, read while the library loads (the file made first when it is
// missing); the diagnostics log starts here too, when the settings switch it on or need a look.
#include <string>

#include "host/version.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/ini_file.h"
#include "persist/joined_text.h"
#include "persist/missing_settings.h"
#include "persist/profile_reader.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"
#include "persist/settings_report.h"

namespace {

constexpr const char* LOG_FILE_NAME = "TinStarWarden.log";

// Out of the reader's reach, every setting takes its default whatever the file says: the log
// says why, and what is in force.
std::vector<std::string> unreachableSettingsLines(const RawSettings& read,
                                                  const std::string& unreachable) {
    std::vector<std::string> lines{markedLine(
        true, joined({"the settings file ", SETTINGS_FILE, " cannot be read: ", unreachable,
                      "; every setting takes its default (move the game to a folder with a "
                      "shorter path)"}))};
    for (std::size_t row = 0; row < SETTING_COUNT; ++row) {
        lines.push_back(markedLine(
            false, joined({"[", SETTING_ROWS[row].section, "] ", SETTING_ROWS[row].key, " = ",
                           std::to_string(read[row]), " (not read, so its default)"})));
    }
    return lines;
}

std::string madeLine(const MissingSettings& made) {
    if (!made.made) {
        return markedLine(true,
                          joined({SETTINGS_FILE, " was missing and cannot be made: ", made.error,
                                  "; every setting takes its default, and no key works "
                                  "(let the game write to the folder that holds "
                                  "RDR2.exe, or put the file from the first install's "
                                  "zip there)"}));
    }
    const std::string missing =
        made.folderMade ? joined({"the folder ", DATA_FOLDER, " and ", SETTINGS_FILE, " were"})
                        : joined({SETTINGS_FILE, " was"});
    return markedLine(false, missing + " missing: made with the shipped settings, read below");
}

// The log is written when the settings switch it on, and also, whatever WRITE_LOG says, when
// something in them needs the player's look: a player who never switched the log on still
// finds out why a setting does not work.
void writeSettingsLog(const Settings& loaded, const MissingSettings& made, const RawSettings& read,
                      const std::string& unreachable) {
    const SettingsReport report =
        unreachable.empty() ? settingsReport(readIniBytes(SETTINGS_PATH), read) : SettingsReport{};
    const bool needed = !unreachable.empty() || report.needALook > 0 || made.wasMissing;
    if (!loaded.writeLog && !needed) {
        return;
    }
    const std::string summary = !unreachable.empty()            ? "the settings file cannot be read"
                                : !made.made && made.wasMissing ? "the settings file is missing"
                                                                : settingsSummary(report.needALook);
    DiagnosticsLog& log = diagnosticsLog();
    log.start(joined({DATA_FOLDER, "/", LOG_FILE_NAME}));
    log.line(joined({"TinStarWarden ", TSW_VERSION, " diagnostics log: ", summary}));
    if (!loaded.writeLog) {
        log.line(
            "(written although WRITE_LOG does not switch it on: it is written whenever "
            "the settings file is made or a setting needs a look)");
    }
    if (made.wasMissing) {
        log.line(madeLine(made));
    }
    const std::vector<std::string> lines =
        unreachable.empty() ? report.lines : unreachableSettingsLines(read, unreachable);
    for (const std::string& line : lines) {
        log.line(line);
    }
}

Settings settingsAtLoad() {
    const MissingSettings made = makeMissingSettings(DATA_FOLDER, SETTINGS_FILE);
    const RawSettings read = readRawSettings(SETTINGS_PATH);
    const Settings loaded = settingsFromRaw(read);
    // Settings out of the reader's reach read as defaults, the log's switch too: the log is
    // made anyway, to say why the player's settings are not in force.
    writeSettingsLog(loaded, made, read, unreachableProfile(SETTINGS_PATH));
    return loaded;
}

}  // namespace

const Settings settings = settingsAtLoad();
