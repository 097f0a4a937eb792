#include "sim/game_folder.h"

#include <chrono>
#include <fstream>
#include <system_error>

#include "sim/read_only_folder.h"
#include "sim/scenario_text.h"
#include "sim/settings_text.h"

namespace fs = std::filesystem;

namespace {

const char* const PLUGIN_FOLDER = "TinStarWarden";
const char* const SETTINGS_FILE = "TinStarWarden/TinStarWarden.ini";
const char* const DATA_FILE = "TinStarWarden/TinStarWarden.dat";

fs::path freshTemporaryFolder(std::error_code& error) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path(error) /
            ("tsw-game-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (error) {
            return {};
        }
        if (fs::create_directory(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

bool GameFolder::enter(const std::string& requested, std::string& error) {
    std::error_code code;
    temporary_ = requested.empty();
    root_ = temporary_ ? freshTemporaryFolder(code) : fs::absolute(requested, code);
    if (!code && !root_.empty()) {
        fs::create_directories(root_ / PLUGIN_FOLDER, code);
    }
    if (!code && !root_.empty()) {
        previous_ = fs::current_path(code);
    }
    if (!code && !root_.empty()) {
        fs::current_path(root_, code);
    }
    if (code || root_.empty()) {
        error = "cannot prepare the game folder " + root_.string() + ": " + code.message();
        return false;
    }
    settingsFile_ = true;
    settingsUnwritten_ = !readWholeFile(SETTINGS_FILE, settings_);
    if (settingsUnwritten_) {
        settings_ = SHIPPED_SETTINGS;
    }
    return writeSettings(error);
}

void GameFolder::leave() {
    std::string ignored;
    setReadOnly(false, ignored);
    std::error_code code;
    fs::current_path(previous_, code);
    if (temporary_) {
        fs::remove_all(root_, code);
    }
}

void GameFolder::setIni(const std::string& section, const std::string& key,
                        const std::string& value) {
    if (!settingsFile_) {
        settings_.clear();
        settingsFile_ = true;
    }
    settings_ = withSetting(settings_, section, key, value);
    settingsUnwritten_ = true;
}

void GameFolder::noSettings() {
    settings_.clear();
    settingsFile_ = false;
    settingsUnwritten_ = true;
}

bool GameFolder::settingsNameKey(std::uint32_t code) const {
    return settingsFile_ && settingNamesKey(settings_, code);
}

bool GameFolder::writeSettings(std::string& error) {
    if (!settingsUnwritten_) {
        return true;
    }
    settingsUnwritten_ = false;
    std::error_code code;
    if (!settingsFile_) {
        fs::remove(SETTINGS_FILE, code);
        return true;
    }
    fs::create_directories(PLUGIN_FOLDER, code);
    std::ofstream file(SETTINGS_FILE, std::ios::binary | std::ios::trunc);
    file << settings_;
    if (!file) {
        error = std::string("cannot write ") + SETTINGS_FILE;
        return false;
    }
    return true;
}

bool GameFolder::appendDataLine(const std::string& line, std::string& error) {
    return appendDataBytes(line + "\n", error);
}

bool GameFolder::appendDataBytes(const std::string& bytes, std::string& error) {
    if (!writeSettings(error)) {
        return false;
    }
    std::ofstream file(DATA_FILE, std::ios::binary | std::ios::app);
    file << bytes;
    if (!file) {
        error = std::string("cannot write ") + DATA_FILE;
        return false;
    }
    return true;
}

bool GameFolder::remove(bool wholeFolder, std::string& error) {
    if (!writeSettings(error)) {
        return false;
    }
    std::error_code code;
    if (wholeFolder) {
        fs::remove_all(PLUGIN_FOLDER, code);
        settings_.clear();
        settingsFile_ = false;
    } else {
        fs::remove(DATA_FILE, code);
    }
    return true;
}

bool GameFolder::setReadOnly(bool readOnly, std::string& error) {
    if (readOnly == readOnly_) {
        return true;
    }
    if (!writeSettings(error)) {
        return false;
    }
    const bool changed = readOnly ? makeFolderReadOnly(PLUGIN_FOLDER, error)
                                  : makeFolderWritable(PLUGIN_FOLDER, error);
    // A change to read-only that failed may have been made in part: the folder then counts as
    // read-only, so that the run's end still makes it writable (a folder left so cannot be
    // removed).
    if (changed || readOnly) {
        readOnly_ = readOnly;
    }
    return changed;
}
