#include "persist/base_data_file.h"

#include <fstream>
#include <utility>

namespace {

// LF ends a line, and a CR right before it belongs to the line end: CR LF files read as LF
// ones on both builds.
void dropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

}  // namespace

BaseDataFile::BaseDataFile(std::string filePath) : path(std::move(filePath)) {}

bool BaseDataFile::load() {
    // Binary on both builds, so that both see the same bytes (no CR LF or ^Z translation).
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        dropCarriageReturn(line);
        // A rejected line is skipped. Stopping here once ended the main script, and the other
        // script's next save then dropped every entry after the bad line.
        parseLine(line);
    }
    return !file.bad();
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
