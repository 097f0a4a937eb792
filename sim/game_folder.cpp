#include "sim/game_folder.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "emulator/disk_limit.h"
#include "emulator/file_path.h"
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

// The code points of a UTF-8 text; a byte that starts no character stands for itself.
std::u32string codePoints(const std::string& utf8) {
    std::u32string points;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        std::size_t taken = 1;
        while (taken < length && at + taken < utf8.size() &&
               (static_cast<unsigned char>(utf8[at + taken]) & 0xC0) == 0x80) {
            point = point << 6 | (static_cast<unsigned char>(utf8[at + taken]) & 0x3F);
            ++taken;
        }
        points += taken == length ? point : char32_t{lead};
        at += taken == length ? length : 1;
    }
    return points;
}

// Removes the folder and all it holds, or names the path that would not go. MinGW's
// std::filesystem::remove_all (GCC 12) never returns under Wine once a path inside reaches
// 260 characters.
bool removeTree(const fs::path& path, std::string& error) {
    std::error_code code;
    if (fs::is_directory(fs::symlink_status(path, code))) {
        fs::directory_iterator entry(path, code);
        for (; !code && entry != fs::directory_iterator(); entry.increment(code)) {
            if (!removeTree(entry->path(), error)) {
                return false;
            }
        }
        if (code) {
            error =
                "cannot list " + utf8Of(fs::absolute(path)) + " to remove it: " + code.message();
            return false;
        }
    }
    if (!fs::remove(path, code) && code) {
        error = "cannot remove " + utf8Of(fs::absolute(path)) + ": " + code.message();
        return false;
    }
    return true;
}

std::string utf16WithMark(const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    const auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    for (const char32_t point : codePoints(utf8)) {
        if (point < 0x10000) {
            unit(point);
        } else {
            unit(0xD800 + ((point - 0x10000) >> 10));
            unit(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return bytes;
}

}  // namespace

bool GameFolder::enter(const std::string& requested, std::string& error) {
    std::error_code code;
    temporary_ = requested.empty();
    root_ = temporary_ ? freshTemporaryFolder(code) : fs::absolute(pathOf(requested), code);
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
        error = "cannot prepare the game folder " + utf8Of(root_) + ": " + code.message();
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
    holder_.letGo();
    diskRoom();
    std::string ignored;
    setMode(Mode::WRITABLE, ignored);
    std::error_code code;
    fs::current_path(previous_, code);
    if (temporary_) {
        fs::remove_all(root_, code);
    }
}

// The plug-in makes a settings file that is missing when it loads: after that the player edits
// the file it made.
bool GameFolder::madeByPlugin(std::string& text) const {
    return !settingsFile_ && !settingsUnwritten_ && readWholeFile(SETTINGS_FILE, text);
}

void GameFolder::setIni(const std::string& section, const std::string& key,
                        const std::string& value) {
    if (!settingsFile_) {
        if (!madeByPlugin(settings_)) {
            settings_.clear();
        }
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
    std::string made;
    return (settingsFile_ && settingNamesKey(settings_, code)) ||
           (madeByPlugin(made) && settingNamesKey(made, code));
}

bool GameFolder::settingsShipped() const {
    std::string text;
    if (!readWholeFile(SETTINGS_FILE, text)) {
        return false;
    }
    std::string shipped = SHIPPED_SETTINGS;
    std::erase(text, '\r');
    std::erase(shipped, '\r');
    return text == shipped;
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

bool GameFolder::encodeDataAsUtf16(bool bigEndian, std::string& error) {
    if (!writeSettings(error)) {
        return false;
    }
    std::ifstream in(DATA_FILE, std::ios::binary);
    if (!in) {
        error = std::string("there is no ") + DATA_FILE + " to encode";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::ofstream out(DATA_FILE, std::ios::binary | std::ios::trunc);
    out << utf16WithMark(text, bigEndian);
    if (!out) {
        error = std::string("cannot rewrite ") + DATA_FILE;
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
        if (!removeTree(PLUGIN_FOLDER, error)) {
            return false;
        }
        settings_.clear();
        settingsFile_ = false;
    } else {
        fs::remove(DATA_FILE, code);
    }
    return true;
}

bool GameFolder::holdFile(bool temporary, const std::string& sharing, std::string& error) {
    return writeSettings(error) &&
           holder_.hold(std::string(DATA_FILE) + (temporary ? ".tmp" : ""), sharing, error);
}

bool GameFolder::diskFull(std::optional<std::uint64_t> bytes, std::string& error) {
    if (!writeSettings(error)) {
        return false;
    }
    std::error_code missing;
    const std::uint64_t dataSize = fs::file_size(DATA_FILE, missing);
    return limitFileSizes(bytes.value_or(missing ? 0 : dataSize), error);
}

void GameFolder::diskRoom() {
    unlimitFileSizes();
}

bool GameFolder::setMode(Mode mode, std::string& error) {
    if (!writeSettings(error)) {
        return false;
    }
    if (dataLocked_ && mode != Mode::LOCKED) {
        if (!makeFileWritable(DATA_FILE, error)) {
            return false;
        }
        dataLocked_ = false;
    }
    const bool readOnly = mode != Mode::WRITABLE;
    if (readOnly != readOnly_) {
        const bool changed = readOnly ? makeFolderReadOnly(PLUGIN_FOLDER, error)
                                      : makeFolderWritable(PLUGIN_FOLDER, error);
        // A change to read-only that failed may have been made in part: the folder then counts
        // as read-only, so that the run's end still makes it writable (a folder left so cannot
        // be removed).
        if (changed || readOnly) {
            readOnly_ = readOnly;
        }
        if (!changed) {
            return false;
        }
    }
    // With no data file there is only the folder to lock: no file can be made in it.
    if (mode == Mode::LOCKED && !dataLocked_ && fs::exists(DATA_FILE)) {
        dataLocked_ = true;  // as above: undone at the end even when made in part
        return makeFileReadOnly(DATA_FILE, error);
    }
    return true;
}
