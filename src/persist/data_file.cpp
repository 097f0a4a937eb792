#include "persist/data_file.h"

#include <string>

#include "persist/diagnostics_log.h"

namespace {

constexpr const char* DATA_FILE_NAME = "TinStarWarden.dat";

// A failure that goes on (a read-only folder fails every save) is logged once, again only
// when what the system says changes, and its end when a save works again.
class SaveFailures {
  public:
    // After a save or flush that reached the disk, or failed trying.
    void result(bool succeeded, const char* what) {
        if (succeeded) {
            if (!last_.empty()) {
                diagnosticsLog().line(std::string(what) + " " + dataFile->path + " works again");
            }
            last_.clear();
        } else if (dataFile->error != last_) {
            last_ = dataFile->error;
            diagnosticsLog().line(std::string(what) + " " + dataFile->path + " failed: " + last_ +
                                  " (the file on disk stays as it was)");
        }
    }

  private:
    std::string last_;
};

SaveFailures saveFailures;

}  // namespace

DictDataFile* dataFile = nullptr;

bool openDataFile() {
    // Never freed: both scripts may use it until the process ends.
    dataFile = new DictDataFile(std::string(DATA_FOLDER) + "/" + DATA_FILE_NAME);
    const bool loaded = dataFile->load();
    DiagnosticsLog& log = diagnosticsLog();
    if (!loaded) {
        log.line("cannot read " + dataFile->path + ": " + dataFile->error +
                 " (no badge is put on, and the badge script stops)");
    }
    for (const std::size_t line : dataFile->skippedLines) {
        log.line(dataFile->path + " line " + std::to_string(line) + " skipped: not one KEY=VALUE");
    }
    return loaded;
}

void saveDataFile() {
    if (dataFile != nullptr && dataFile->isDirty()) {
        saveFailures.result(dataFile->save(false), "saving");
    }
}

void saveDataFileStep() {
    if (dataFile != nullptr && dataFile->isDirty()) {
        saveFailures.result(dataFile->saveWithoutFlush(), "saving");
    }
}

void flushDataFile() {
    if (dataFile != nullptr && dataFile->flushPending()) {
        saveFailures.result(dataFile->flushToDisk(), "flushing");
    }
}
