#include <windows.h>

#include "persist/replace_file.h"
#include "persist/system_error.h"

// The C library's rename refuses an existing target on Windows.
bool replaceFile(const std::string& source, const std::string& target, std::string& error) {
    return MoveFileExA(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           systemFailed(error);
}

// A save left for a later flush has closed the file: a handle of its own asks the system to
// write the file's cached data out.
bool flushFileToDisk(const std::string& path, std::string& error) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return systemFailed(error);
    }
    const bool flushed = FlushFileBuffers(file) != 0 || systemFailed(error);
    CloseHandle(file);
    return flushed;
}

// NTFS journals the rename itself: after a power cut the folder names the old file or the new
// one. A normal save flushed the new file's data before the move; an edit step's save did not
// (its flush waits for the first pass without a save), so a power cut in between may leave the
// new name on data that never reached the disk. There is no folder handle to flush.
bool flushFolderToDisk(const std::string&, std::string&) {
    return true;
}
