// The plug-in's settings, read while the library loads; the diagnostics log starts here too,
// when the settings switch it on.
#include <string>

#include "host/version.h"
#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "persist/ini_file.h"
#include "persist/joined_text.h"
#include "persist/setting_rows.h"
#include "persist/settings.h"
#include "persist/settings_report.h"

namespace {

constexpr const char* LOG_FILE_NAME = "TinStarWarden.log";

Settings settingsAtLoad() {
    const RawSettings read = readRawSettings(SETTINGS_PATH);
    const Settings loaded = settingsFromRaw(read);
    if (loaded.writeLog) {
        DiagnosticsLog& log = diagnosticsLog();
        log.start(joined({DATA_FOLDER, "/", LOG_FILE_NAME}));
        log.line(joined({"TinStarWarden ", TSW_VERSION, " diagnostics log"}));
        for (const std::string& line : settingsReport(readIniBytes(SETTINGS_PATH), read)) {
            log.line(line);
        }
    }
    return loaded;
}

}  // namespace

const Settings settings = settingsAtLoad();
