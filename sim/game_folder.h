#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "sim/file_holder.h"

// The emulated game's current folder with the plug-in's TinStarWarden/ folder in it: made (a
// fresh temporary one unless named), entered for the run, and left (a temporary one deleted).
// A folder is entered as a first install leaves it: TinStarWarden/ holding the shipped
// settings file and no data file. A named folder keeps what it holds; only a missing
// TinStarWarden/ folder or settings file is put in place.
class GameFolder {
  public:
    bool enter(const std::string& requested, std::string& error);
    void leave();

    // KEY=VALUE under [SECTION] of the settings file, as a player edits it: the notes and
    // the other lines stay. Without a settings file (`noSettings`) a new one is begun. The file
    // is written whole by writeSettings, before any other change to the folder: a story that
    // sets thousands of keys writes it once.
    void setIni(const std::string& section, const std::string& key, const std::string& value);
    // No settings file, until the plug-in makes one with the shipped settings when it loads.
    void noSettings();
    bool writeSettings(std::string& error);
    // Whether a key setting of the settings file has this key code.
    bool settingsNameKey(std::uint32_t code) const;
    // Whether the settings file holds the shipped settings, line ends aside.
    bool settingsShipped() const;
    bool appendDataLine(const std::string& line, std::string& error);
    // Appends the bytes as they are: no line end is added.
    bool appendDataBytes(const std::string& bytes, std::string& error);
    // Rewrites the data file (read as UTF-8) as UTF-16 with its byte-order mark, little or big
    // endian, as Notepad's "Unicode" and "Unicode big endian" save it.
    bool encodeDataAsUtf16(bool bigEndian, std::string& error);
    // Deletes the data file, or the whole TinStarWarden/ folder (and with it the settings).
    bool remove(bool wholeFolder, std::string& error);
    enum class Mode {
        WRITABLE,
        READ_ONLY,  // no file created, renamed or deleted in the folder
        LOCKED,     // read-only, and the data file cannot be written either
    };
    // The TinStarWarden/ folder's mode; it is made writable again when the run ends.
    bool setMode(Mode mode, std::string& error);

    // Another program holds the data file, or the temporary file a save writes first (made
    // when missing), letting others share only what `sharing` names (FileHolder); until
    // letGoOfFile, or the run's end.
    bool holdFile(bool temporary, const std::string& sharing, std::string& error);
    void letGoOfFile() { holder_.letGo(); }

    // From now on a write that would make a file longer than `bytes` (none given: the data
    // file's size now) fails as on a full disk (disk_limit.h); until diskRoom, or the run's end.
    bool diskFull(std::optional<std::uint64_t> bytes, std::string& error);
    void diskRoom();

  private:
    bool madeByPlugin(std::string& text) const;

    std::filesystem::path previous_;
    std::filesystem::path root_;
    bool temporary_ = false;
    bool readOnly_ = false;
    bool dataLocked_ = false;
    std::string settings_;
    bool settingsFile_ = false;  // whether the settings file is to be there
    bool settingsUnwritten_ = false;
    FileHolder holder_;
};
