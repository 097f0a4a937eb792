#include "persist/base_data_file.h"

#include <string_view>
#include <utility>

#include "persist/read_file.h"
#include "persist/replace_file.h"
#include "persist/unicode_text.h"

namespace {

// The next line and what is left after its end: LF, CR LF or a lone CR end a line, so files
// saved by any editor read the same.
std::string_view nextLine(std::string_view& text) {
    const auto end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    return line;
}

}  // namespace

BaseDataFile::BaseDataFile(std::string filePath) : path(std::move(filePath)) {}

bool BaseDataFile::load() {
    skippedLines.clear();
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes, error);
    inUse = read == ReadResult::IN_USE;
    if (read != ReadResult::READ) {
        return false;
    }
    auto utf16 = decodeMarkedUtf16(bytes);
    decodedFrom = utf16 ? utf16->encoding : nullptr;
    if (utf16) {
        bytes = std::move(utf16->utf8);
    }
    // Notepad may begin a UTF-8 file with a mark: it is no part of the first key.
    std::string_view text = bytes;
    if (text.starts_with(UTF8_MARK)) {
        text.remove_prefix(UTF8_MARK.size());
    }
    for (std::size_t number = 1; !text.empty(); ++number) {
        // A rejected line is skipped. Stopping here once ended the main script, and the other
        // script's next save then dropped every entry after the bad line.
        if (!parseLine(std::string(nextLine(text)))) {
            skippedLines.push_back(number);
        }
    }
    return true;
}

bool BaseDataFile::save(bool force) {
    if (!dirty && !force) {
        return true;
    }
    if (!write()) {
        return false;
    }
    dirty = false;
    return true;
}

bool BaseDataFile::isDirty() const {
    return dirty;
}

bool BaseDataFile::saveWithoutFlush() {
    flushOnWrite_ = false;
    const bool saved = save(false);
    flushOnWrite_ = true;
    return saved;
}

// A flush that fails is not tried again on every call: the next save flushes anew.
bool BaseDataFile::flushToDisk() {
    if (!flushPending_) {
        return true;
    }
    flushPending_ = false;
    return flushFileToDisk(path, error) && flushFolderToDisk(path, error);
}

bool BaseDataFile::flushPending() const {
    return flushPending_;
}
