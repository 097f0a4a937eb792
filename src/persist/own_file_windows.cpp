#include <windows.h>

#include <algorithm>

#include "persist/own_file.h"
#include "persist/system_error.h"

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::string withCrLf(std::string_view text) {
    std::string stored;
    stored.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') {
            stored += '\r';
        }
        stored += c;
    }
    return stored;
}

// The path of the file (or folder) the handle is open on, every link resolved; empty when the
// system cannot say.
std::string finalPath(HANDLE handle) {
    std::string path(MAX_PATH, '\0');
    DWORD length = GetFinalPathNameByHandleA(handle, path.data(), MAX_PATH, FILE_NAME_NORMALIZED);
    if (length >= MAX_PATH) {
        path.resize(length);
        length = GetFinalPathNameByHandleA(handle, path.data(), length, FILE_NAME_NORMALIZED);
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

// Whether the open file is the one at path itself, not one a link there leads to. Windows
// opens a link itself when asked to (FILE_FLAG_OPEN_REPARSE_POINT); Wine shows a symbolic
// link as the file it leads to, whose final path then lies elsewhere.
bool isItself(HANDLE file, const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    const std::string folderPath = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const HANDLE folder = CreateFileA(folderPath.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::string expected = finalPath(folder) + "\\" + name;
    CloseHandle(folder);
    const std::string actual = finalPath(file);
    return !actual.empty() && lstrcmpiA(actual.c_str(), expected.c_str()) == 0;
}

HANDLE openItself(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, SHARE_ALL, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

HANDLE createNew(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// After a call that failed: what has the name may be what refuses (a folder, a file marked
// read-only), else the folder forbids the change, or something else went wrong (another
// program holding the name is a sharing violation: it may well let go).
Creation creationFailed(const std::string& path, std::string& error) {
    const bool denied = GetLastError() == ERROR_ACCESS_DENIED;
    systemFailed(error);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (denied && attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            error = "a folder by that name is in the way";
            return Creation::NAME_TAKEN;
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            error = "the file there is marked read-only";
            return Creation::NAME_TAKEN;
        }
    }
    return denied ? Creation::NOT_ALLOWED : Creation::FAILED;
}

// Deletes the name, never a file a link there leads to (Wine's DeleteFile would delete that
// one): a name that is no file's own is left alone. CREATED when the name is free now.
Creation removeName(const std::string& path, std::string& error) {
    const HANDLE file = openItself(path, DELETE | FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) {
        return creationFailed(path, error);
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    Creation result = Creation::FAILED;
    if (!isItself(file, path)) {
        error = "it is a link that leads to another file";
    } else if (SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                          sizeof disposition)) {
        result = Creation::CREATED;
    } else {
        result = creationFailed(path, error);
    }
    CloseHandle(file);
    return result;
}

}  // namespace

bool OwnFile::write(std::string_view text, std::string& error) {
    const std::string stored = withCrLf(text);
    std::string_view rest = stored;
    while (!rest.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
        if (!WriteFile(handleOf(handle_), rest.data(), size, &written, nullptr)) {
            return systemFailed(error);
        }
        rest.remove_prefix(written);
    }
    return true;
}

bool OwnFile::truncate(std::string& error) {
    const HANDLE file = handleOf(handle_);
    return (SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) && SetEndOfFile(file)) ||
           systemFailed(error);
}

bool OwnFile::length(std::uint64_t& bytes, std::string& error) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size)) {
        return systemFailed(error);
    }
    bytes = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool OwnFile::seekTo(std::uint64_t offset, std::string& error) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handleOf(handle_), at, nullptr, FILE_BEGIN) || systemFailed(error);
}

// SetEndOfFile cuts at the write position: it is put back afterwards.
bool OwnFile::cutTo(std::uint64_t bytes, std::string& error) {
    const HANDLE file = handleOf(handle_);
    LARGE_INTEGER was{};
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes);
    return (SetFilePointerEx(file, LARGE_INTEGER{}, &was, FILE_CURRENT) &&
            SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
            SetFilePointerEx(file, was, nullptr, FILE_BEGIN)) ||
           systemFailed(error);
}

std::uint64_t OwnFile::storedLength(std::string_view text) {
    return text.size() + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

bool OwnFile::flushToDisk(std::string& error) {
    return FlushFileBuffers(handleOf(handle_)) || systemFailed(error);
}

bool OwnFile::close(std::string& error) {
    if (!isOpen()) {
        return true;
    }
    return CloseHandle(handleOf(std::exchange(handle_, NO_HANDLE))) || systemFailed(error);
}

// CREATE_NEW fails on any name that exists, a link too, so nothing planted there is followed.
Creation createAfresh(const std::string& path, OwnFile& file, std::string& error) {
    HANDLE created = createNew(path);
    if (created == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
        const Creation removed = removeName(path, error);
        if (removed != Creation::CREATED) {
            return removed;
        }
        created = createNew(path);
        // Wine takes the delete and then fails it quietly where the folder forbids deleting.
        if (created == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
            error = "a file by that name is there and cannot be removed";
            return Creation::NOT_ALLOWED;
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        return creationFailed(path, error);
    }
    file = OwnFile(reinterpret_cast<std::intptr_t>(created));
    return Creation::CREATED;
}

// A link (a symbolic link or a junction) is refused, as is a file with more than one name (a
// hard link).
bool openOwnFile(const std::string& path, OwnFile& file, std::string& error) {
    const HANDLE opened = openItself(path, GENERIC_WRITE);
    if (opened == INVALID_HANDLE_VALUE) {
        return systemFailed(error);
    }
    OwnFile candidate(reinterpret_cast<std::intptr_t>(opened));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info)) {
        return systemFailed(error);
    }
    constexpr DWORD NOT_PLAIN = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    if ((info.dwFileAttributes & NOT_PLAIN) != 0 || GetFileType(opened) != FILE_TYPE_DISK ||
        !isItself(opened, path)) {
        error = "it is a link or no plain file";
        return false;
    }
    if (info.nNumberOfLinks != 1) {
        error = "it has another name (a hard link)";
        return false;
    }
    file = std::move(candidate);
    return true;
}
