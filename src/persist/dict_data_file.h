#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "persist/base_data_file.h"

class OwnFile;

// The data file as key=value lines in ascending byte order of the keys. Values are text;
// numbers are stored as intText and floatText write them.
class DictDataFile final : public BaseDataFile {
  public:
    // What getInt and getFloat give for an absent key, and for a value that is no number.
    static constexpr std::int32_t ABSENT_INT = -999;
    static constexpr float ABSENT_FLOAT = -999.0f;

    explicit DictDataFile(std::string filePath);

    bool parseLine(const std::string& line) override;
    bool write() override;

    // The empty text for an absent key.
    std::string getString(const char* key) const;
    // Never raises: an exception escaping a script would take the game down.
    std::int32_t getInt(const char* key) const;
    float getFloat(const char* key) const;

    // The empty text erases the key. Any store marks the file dirty, even of an equal value.
    void setString(const char* key, const std::string& text);
    void setInt(const char* key, std::int32_t value);
    void setFloat(const char* key, float value);

    std::map<std::string, std::string> entries;

  private:
    // The file's bytes, each line ended by "\n".
    std::string fileText() const;
    bool replaceWhole(OwnFile& file, const std::string& temporary, const std::string& text);
    // cause: why no new copy could be made, in words for the log.
    bool writeInPlace(const std::string& text, const std::string& cause);
};
