#include "persist/missing_settings.h"

#include <algorithm>
#include <cstdio>

#include "persist/make_folder.h"
#include "persist/own_file.h"
#include "persist/path_missing.h"
#include "persist/replace_file.h"
#include "persist/shipped_settings.h"

namespace {

// OwnFile stores each "\n" as CR LF on Windows, so the game build writes the shipped bytes.
std::string shippedText() {
    std::string text(SHIPPED_SETTINGS);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

bool writeWhole(const std::string& path, std::string& error) {
    const std::string temporary = path + ".tmp";
    OwnFile file;
    if (createAfresh(temporary, file, error) != Creation::CREATED) {
        return false;
    }
    if (file.write(shippedText(), error) && file.flushToDisk(error) && file.close(error) &&
        replaceFile(temporary, path, error)) {
        return true;
    }
    std::string ignored;
    file.close(ignored);
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

MissingSettings makeMissingSettings(const std::string& folder, const std::string& path) {
    MissingSettings result;
    if (!pathMissing(path)) {
        return result;
    }
    result.wasMissing = true;
    if (pathMissing(folder)) {
        if (!makeFolder(folder, result.error)) {
            return result;
        }
        result.folderMade = true;
    }
    result.made = writeWhole(path, result.error);
    return result;
}
