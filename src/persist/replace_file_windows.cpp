#include <windows.h>

#include "persist/replace_file.h"

namespace {

bool failed(std::string& error) {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    error.assign(text, length);
    while (!error.empty() &&
           (error.back() == '\n' || error.back() == '\r' || error.back() == '.')) {
        error.pop_back();
    }
    if (error.empty()) {
        error = "system error " + std::to_string(code);
    }
    return false;
}

}  // namespace

// The C library's rename refuses an existing target on Windows.
bool replaceFile(const std::string& source, const std::string& target, std::string& error) {
    return MoveFileExA(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           failed(error);
}

// The file was written through the C library's stream and closed: a handle of its own asks
// the system to write the file's cached data out.
bool flushFileToDisk(const std::string& path, std::string& error) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failed(error);
    }
    const bool flushed = FlushFileBuffers(file) != 0 || failed(error);
    CloseHandle(file);
    return flushed;
}

// NTFS journals the rename itself: after a power cut the folder names the old file or the new
// one, whose data was flushed before the move. There is no folder handle to flush.
bool flushFolderToDisk(const std::string&, std::string&) {
    return true;
}
