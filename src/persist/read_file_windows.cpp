#include <windows.h>

#include "persist/read_file.h"
#include "persist/system_error.h"

namespace {

ReadResult failed(std::string& error) {
    const DWORD code = GetLastError();
    systemFailed(error);
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ReadResult::MISSING;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return ReadResult::IN_USE;
        default:
            return ReadResult::FAILED;
    }
}

}  // namespace

// Opened sharing everything, so that the plug-in never keeps another program from the file.
ReadResult readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failed(error);
    }
    char chunk[4096];
    DWORD got = 0;
    ReadResult result = ReadResult::READ;
    while (result == ReadResult::READ) {
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            result = failed(error);
        } else if (got == 0) {
            break;
        } else {
            bytes.append(chunk, got);
        }
    }
    CloseHandle(file);
    return result;
}
