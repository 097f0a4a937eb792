#include "persist/data_file.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "persist/diagnostics_log.h"
#include "persist/joined_text.h"
#include "persist/make_folder.h"
#include "persist/path_missing.h"

namespace {

constexpr const char* DATA_FILE_NAME = "TinStarWarden.dat";
// What the player meets when the data file cannot be had, and what mends it.
constexpr const char* SCRIPT_STOPS = "no badge is put on, and the badge script stops";
constexpr const char* MAKE_IT_READABLE =
    "let the game read it, or delete it and a new one, with no badge, is made at the next start";
constexpr const char* START_AGAIN = ", then start the game again";
// What setFirstEntries puts in a new file, in the player's words.
constexpr const char* FIRST_HOLDS =
    "no badge yet, the badge's place and turn at their starting values";
constexpr const char* CLOSE_THE_HOLDER =
    "close the program that holds it (an antivirus scan or a cloud-sync client, say)";
// A file another program holds at the start is tried again this often, for this long: such a
// hold is mostly over within a second or two.
constexpr std::uint32_t IN_USE_TRY_EVERY_MS = 250;
constexpr std::uint32_t IN_USE_WAIT_MS = 5000;
// A due save is tried this often. A try on a disk that refuses writes is mostly one open that
// fails, which costs the disk nothing, so the tries need not thin out as the failure goes on;
// a full disk's try writes what fits and removes it, which once a second does not hammer.
constexpr std::uint32_t RETRY_EVERY_MS = 1000;

// What was to be done, the system's reason, and what the player can do about it.
void logStop(std::string_view failed, std::string_view path,
             std::initializer_list<std::string_view> remedy) {
    const std::string text =
        joined({failed, " ", path, ": ", dataFile->error, " (", SCRIPT_STOPS, "; "});
    diagnosticsLog().line(text + joined(remedy) + ")");
}

// A failure that goes on (a folder nobody may write to fails every save, a held file every try
// until it is let go) is logged once for each cause the system gives, not once a try, and its
// end when a save works again, with the tries that failed. Saves that go into the file itself,
// not atomic, are noted once as they start.
class SaveReports {
  public:
    // After a save or flush that reached the disk, or failed trying.
    void result(bool succeeded, const char* what) {
        if (succeeded) {
            worked(what);
            return;
        }
        ++failedTries_;
        if (std::find(causes_.begin(), causes_.end(), dataFile->error) != causes_.end()) {
            return;
        }
        causes_.push_back(dataFile->error);
        diagnosticsLog().line(joined({what, " ", dataFile->path, " failed: ", dataFile->error,
                                      " (the file on disk stays as it was)"}));
    }

  private:
    void worked(const char* what) {
        if (failedTries_ > 0) {
            diagnosticsLog().line(joined({what, " ", dataFile->path, " works again, after ",
                                          std::to_string(failedTries_),
                                          failedTries_ == 1 ? " try" : " tries", " that failed"}));
        }
        causes_.clear();
        failedTries_ = 0;
        const bool inPlace = !dataFile->inPlaceCause.empty();
        if (inPlace && !inPlace_) {
            diagnosticsLog().line(joined({"saving ", dataFile->path,
                                          " in place, not atomically: ", dataFile->inPlaceCause,
                                          "; a crash during a save can leave it cut short"}));
        }
        inPlace_ = inPlace;
    }

    std::vector<std::string> causes_;
    long failedTries_ = 0;
    bool inPlace_ = false;
};

SaveReports saveReports;
const DictDataFile* readInto = nullptr;  // the object openDataFile read the file into
// The object openDataFile reads into, kept until the read is over: a restart of the scripts
// during the wait for a held file deletes the reading run, and the next start reads into it.
DictDataFile* reading = nullptr;

// The pacing of the tries of a due save.
struct SaveRetry {
    bool waiting = false;         // a save is due and its first try is made
    std::uint32_t lastTryAt = 0;  // tick count
};
SaveRetry saveRetry;

bool createDataFolder() {
    if (!pathMissing(DATA_FOLDER)) {
        return true;
    }
    if (!makeFolder(DATA_FOLDER, dataFile->error)) {
        logStop("cannot create the folder", DATA_FOLDER,
                {"let the game write to the folder that holds RDR2.exe, or make the ", DATA_FOLDER,
                 " folder there yourself", START_AGAIN});
        return false;
    }
    diagnosticsLog().line(joined({"created the folder ", DATA_FOLDER, ", which was missing"}));
    return true;
}

// A first start, or a player who deleted the file to start afresh.
bool createDataFile(FirstEntries setFirstEntries) {
    if (!createDataFolder()) {
        return false;
    }
    setFirstEntries(*dataFile);
    if (!dataFile->save(false)) {
        logStop(
            "cannot create", dataFile->path,
            {"let the game write to the ", DATA_FOLDER, " folder beside RDR2.exe", START_AGAIN});
        return false;
    }
    diagnosticsLog().line(
        joined({"created ", dataFile->path, ", which was missing: ", FIRST_HOLDS}));
    return true;
}

// Only a file in use is waited for: one that is missing or cannot be read stays so.
// The time waited is the clock's: a wait ends at the frame after its time is up.
bool loadWaitingWhileInUse(DictDataFile& file, WaitBetweenTries wait) {
    const std::uint32_t startedAt = tickCount();
    std::uint32_t waited = 0;
    bool loaded = file.load();
    while (!loaded && file.inUse && waited < IN_USE_WAIT_MS) {
        wait(IN_USE_TRY_EVERY_MS);
        waited = tickCount() - startedAt;
        loaded = file.load();
    }
    if (loaded && waited > 0) {
        diagnosticsLog().line(joined({file.path, " was held by another program: read after ",
                                      std::to_string(waited), " ms of waiting for it"}));
    }
    return loaded;
}

}  // namespace

DictDataFile* dataFile = nullptr;

bool dataFileRead() {
    return dataFile != nullptr && dataFile == readInto;
}

bool openDataFile(FirstEntries setFirstEntries, WaitBetweenTries wait) {
    if (dataFileRead()) {
        return true;
    }
    readInto = nullptr;
    // Freed by closeDataFile: both scripts may use it until the plug-in is unloaded. Shared once
    // read (or given up on), so that nothing changes it while a held file is waited for; after
    // a failed read the next start reads into the same object again.
    if (reading == nullptr) {
        reading = dataFile != nullptr
                      ? dataFile
                      : new DictDataFile(std::string(DATA_FOLDER) + "/" + DATA_FILE_NAME);
    }
    bool loaded = loadWaitingWhileInUse(*reading, wait);
    dataFile = std::exchange(reading, nullptr);
    if (!loaded && pathMissing(dataFile->path)) {
        if (!createDataFile(setFirstEntries)) {
            return false;
        }
        loaded = dataFile->load();
    }
    if (!loaded && dataFile->inUse) {
        logStop("cannot read", dataFile->path,
                {"another program held it for the ", std::to_string(IN_USE_WAIT_MS / 1000),
                 " s waited: ", CLOSE_THE_HOLDER, START_AGAIN});
        return false;
    }
    if (!loaded) {
        logStop("cannot read", dataFile->path, {MAKE_IT_READABLE});
        return false;
    }
    DiagnosticsLog& log = diagnosticsLog();
    if (dataFile->decodedFrom != nullptr) {
        log.line(joined({dataFile->path, " is ", dataFile->decodedFrom,
                         " text (Notepad's \"Unicode\"): read as such, and its next save "
                         "writes it as plain text"}));
    }
    for (const std::size_t line : dataFile->skippedLines) {
        log.line(dataFile->path + " line " + std::to_string(line) + " skipped: not one KEY=VALUE");
    }
    readInto = dataFile;
    return true;
}

void saveDataFile() {
    if (dataFile != nullptr && dataFile->isDirty()) {
        saveReports.result(dataFile->save(false), "saving");
    }
}

void saveDataFileStep() {
    if (dataFile != nullptr && dataFile->isDirty()) {
        saveReports.result(dataFile->saveWithoutFlush(), "saving");
    }
}

void retryDueSave(std::uint32_t now) {
    if (dataFile == nullptr || !dataFile->isDirty()) {
        saveRetry = SaveRetry{};
        return;
    }
    // The save that made the change due was its first try.
    if (!saveRetry.waiting) {
        saveRetry = {true, now};
        return;
    }
    if (now - saveRetry.lastTryAt >= RETRY_EVERY_MS) {
        saveRetry.lastTryAt = now;
        saveDataFile();
    }
}

void closeDataFile(bool freeMemory) {
    if (dataFile != nullptr && dataFile->isDirty()) {
        saveDataFile();
        if (dataFile->isDirty()) {
            diagnosticsLog().line(joined({"unloaded with a change not saved: ", dataFile->path,
                                          " keeps its last save, whole (", dataFile->error, ")"}));
        }
    }
    flushDataFile();
    if (!freeMemory) {
        return;
    }
    if (reading != dataFile) {
        delete reading;
    }
    delete dataFile;
    dataFile = reading = nullptr;
    readInto = nullptr;
    saveRetry = SaveRetry{};
}

void flushDataFile() {
    if (dataFile != nullptr && dataFile->flushPending()) {
        saveReports.result(dataFile->flushToDisk(), "flushing");
    }
}
