#include "persist/dict_data_file.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "persist/number_text.h"
#include "persist/own_file.h"
#include "persist/replace_file.h"
#include "persist/unicode_text.h"

namespace {

// Written beside the file and moved over it, so a crash or a full disk mid-write leaves the
// old file whole. A stale one (a crash's) is removed first.
constexpr const char* TEMPORARY_SUFFIX = ".tmp";

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Fields as repeated reads delimited by '=' give them: each '=' ends the field before it, and
// the text after the last '=' is a field only when it is not empty. Only two fields make an
// entry, so "=5" has the empty key, "a=b=" is a -> b, and "a=", "a" and "a=b=c" are none.
std::optional<KeyValue> twoFields(std::string_view line) {
    const auto first = line.find('=');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(first + 1);
    const auto second = rest.find('=');
    if (second == std::string_view::npos) {
        return rest.empty() ? std::nullopt : std::optional<KeyValue>({line.substr(0, first), rest});
    }
    if (second + 1 != rest.size()) {
        return std::nullopt;
    }
    return KeyValue{line.substr(0, first), rest.substr(0, second)};
}

}  // namespace

DictDataFile::DictDataFile(std::string filePath) : BaseDataFile(std::move(filePath)) {}

bool DictDataFile::parseLine(const std::string& line) {
    if (line.empty()) {
        return true;
    }
    const auto fields = twoFields(line);
    if (!fields) {
        return false;
    }
    entries[std::string(fields->key)] = std::string(fields->value);
    return true;
}

bool DictDataFile::write() {
    const std::string text = fileText();
    const std::string temporary = path + TEMPORARY_SUFFIX;
    inPlaceCause.clear();
    OwnFile file;
    switch (createAfresh(temporary, file, error)) {
        case Creation::CREATED:
            return replaceWhole(file, temporary, text);
        case Creation::NOT_ALLOWED:
            return writeInPlace(text, "no file can be made beside it (" + error + ")");
        case Creation::NAME_TAKEN:
            return writeInPlace(text, "the name its new copy is first written under, " + temporary +
                                          ", is taken: " + error +
                                          " (remove that, and saves are whole again)");
        case Creation::FAILED:
            break;
    }
    return false;
}

// Every entry reads back as it was: an empty value takes a second '=' ("k=" is no entry, "k=="
// is k with nothing), and a first key that begins with a byte-order mark, which load would
// take for the file's, gets a UTF-8 mark before it, which load takes off.
std::string DictDataFile::fileText() const {
    std::string text;
    if (!entries.empty()) {
        const std::string& first = entries.begin()->first;
        if (first.starts_with(UTF8_MARK) || first.starts_with(UTF16LE_MARK) ||
            first.starts_with(UTF16BE_MARK)) {
            text = UTF8_MARK;
        }
    }
    for (const auto& [key, value] : entries) {
        text += key;
        text += '=';
        text += value;
        text += value.empty() ? "=\n" : "\n";
    }
    return text;
}

// The new file, on the disk before the move (unless the flush is left for later), takes the
// old one's place in one step.
bool DictDataFile::replaceWhole(OwnFile& file, const std::string& temporary,
                                const std::string& text) {
    if (file.write(text, error) && (!flushOnWrite_ || file.flushToDisk(error)) &&
        file.close(error) && replaceFile(temporary, path, error)) {
        flushPending_ = !flushOnWrite_ || !flushFolderToDisk(path, error);
        return true;
    }
    std::string ignored;
    file.close(ignored);
    std::remove(temporary.c_str());
    return false;
}

namespace {

// The old bytes stay whole until the new ones have room: the file is first made long enough
// (on a full disk that fails, and what it added is cut off again), then written over from its
// start, then cut to the new length. So a full disk fails the save and leaves the file as it
// was, and a try again can never make it worse.
bool overwrite(OwnFile& file, std::string_view text, std::string& error) {
    std::uint64_t old = 0;
    if (!file.length(old, error)) {
        return false;
    }
    const std::uint64_t needed = OwnFile::storedLength(text);
    if (needed > old &&
        !(file.seekTo(old, error) && file.write(std::string(needed - old, ' '), error))) {
        std::string ignored;
        file.cutTo(old, ignored);
        return false;
    }
    return file.seekTo(0, error) && file.write(text, error) && file.cutTo(needed, error);
}

}  // namespace

// No new copy can be made beside it, but the file itself may still be written: it is rewritten
// in place rather than not saved at all.
bool DictDataFile::writeInPlace(const std::string& text, const std::string& cause) {
    OwnFile file;
    if (!openOwnFile(path, file, error)) {
        error = cause + "; writing the file itself: " + error;
        return false;
    }
    inPlaceCause = cause;
    if (overwrite(file, text, error) && (!flushOnWrite_ || file.flushToDisk(error)) &&
        file.close(error)) {
        flushPending_ = !flushOnWrite_;
        return true;
    }
    return false;
}

std::string DictDataFile::getString(const char* key) const {
    const auto found = entries.find(key);
    return found == entries.end() ? std::string() : found->second;
}

std::int32_t DictDataFile::getInt(const char* key) const {
    return intPrefix(getString(key)).value_or(ABSENT_INT);
}

float DictDataFile::getFloat(const char* key) const {
    return floatPrefix(getString(key)).value_or(ABSENT_FLOAT);
}

void DictDataFile::setString(const char* key, const std::string& text) {
    if (!text.empty()) {
        entries[key] = text;
        dirty = true;
    } else if (entries.erase(key) > 0) {
        dirty = true;
    }
}

void DictDataFile::setInt(const char* key, std::int32_t value) {
    setString(key, intText(value));
}

void DictDataFile::setFloat(const char* key, float value) {
    setString(key, floatText(value));
}
