#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "persist/replace_file.h"
#include "persist/system_error.h"

namespace {

// fsync of any descriptor of the file or folder writes all of it that is still cached.
bool syncPath(const std::string& path, int flags, std::string& error) {
    const int descriptor = open(path.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0) {
        return systemFailed(error);
    }
    const bool synced = fsync(descriptor) == 0 || systemFailed(error);
    close(descriptor);
    return synced;
}

}  // namespace

// rename(2) replaces an existing target atomically.
bool replaceFile(const std::string& source, const std::string& target, std::string& error) {
    return std::rename(source.c_str(), target.c_str()) == 0 || systemFailed(error);
}

bool flushFileToDisk(const std::string& path, std::string& error) {
    return syncPath(path, O_RDONLY, error);
}

// The new name lives in the folder: without this a power cut can bring back the old file.
bool flushFolderToDisk(const std::string& filePath, std::string& error) {
    const auto slash = filePath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : filePath.substr(0, slash + 1);
    return syncPath(folder, O_RDONLY | O_DIRECTORY, error);
}
