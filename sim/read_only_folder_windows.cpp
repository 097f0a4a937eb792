// The Windows simulator runs under Wine only. A folder (or a file) is made read-only as Wine's
// Unix side sees it, by the native simulator's own code (write permission taken away, and when that
// does not stop this user, root, the immutable attribute), which Wine then reports to the plug-in
// as access denied, as Windows does for a folder the player may not write to.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "sim/folder_service.h"
#include "sim/read_only_folder.h"

namespace {

using UnixFileName = char*(CDECL*)(const WCHAR*);

// How long the native simulator may take to answer.
constexpr DWORD ANSWER_WAIT_LIMIT_MS = 10000;

// The folder's path as Wine's Unix side names it, or empty outside Wine.
std::string unixPath(const std::string& folder) {
    const auto toUnix = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    // The path is UTF-8: read in the ANSI code page, a folder outside it would not be found.
    WCHAR relative[MAX_PATH];
    WCHAR wide[MAX_PATH];
    if (toUnix == nullptr ||
        MultiByteToWideChar(CP_UTF8, 0, folder.c_str(), -1, relative, MAX_PATH) == 0 ||
        GetFullPathNameW(relative, MAX_PATH, wide, nullptr) == 0) {
        return {};
    }
    char* name = toUnix(wide);
    if (name == nullptr) {
        return {};
    }
    std::string path(name);
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

// A probe left behind (by a run that ended between its steps) must not read as "cannot create".
bool canCreateIn(const std::string& folder) {
    const std::string probe = folder + "\\.tsw-write-probe";
    DeleteFileA(probe.c_str());
    const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// Whether this process can still open the file for writing.
bool canWrite(const std::string& file) {
    const HANDLE handle =
        CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

// The first line of a text file, or empty.
std::string firstLine(const std::string& path) {
    std::string line;
    std::getline(std::ifstream(path), line);
    return line;
}

// Waits until the reply is in the mailbox, woken by each change to the mailbox's names.
bool replyArrived(HANDLE mailboxChanged, const std::string& reply, std::string& error) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(reply.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= ANSWER_WAIT_LIMIT_MS) {
            error = "the native simulator did not answer within " +
                    std::to_string(ANSWER_WAIT_LIMIT_MS) + " ms";
            return false;
        }
        WaitForSingleObject(mailboxChanged, ANSWER_WAIT_LIMIT_MS - waited);
        FindNextChangeNotification(mailboxChanged);
    }
    return true;
}

// Asks the native simulator that started Wine for the change (see sim/folder_service.h) and
// waits for its answer.
bool askNativeSide(const std::string& unixPath, const char* change, std::string& error) {
    const char* mailbox = std::getenv(FOLDER_SERVICE_VARIABLE);
    if (mailbox == nullptr) {
        error =
            "under Wine a folder's mode is changed by the tsw-sim --wine that started Wine, "
            "and this simulator was started otherwise";
        return false;
    }
    const std::string box = std::string("Z:") + mailbox;
    const std::string request = box + "/" + FOLDER_REQUEST;
    const std::string reply = box + "/" + FOLDER_REPLY;
    // Watched before the request goes in, so that no reply can come unseen.
    const HANDLE mailboxChanged =
        FindFirstChangeNotificationA(box.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (mailboxChanged == INVALID_HANDLE_VALUE) {
        error =
            "cannot watch the mailbox " + box + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    static unsigned long requests = 0;
    std::ofstream(request + ".part", std::ios::binary) << ++requests << "\n"
                                                       << change << "\n"
                                                       << unixPath << "\n";
    bool answered = false;
    if (!MoveFileExA((request + ".part").c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = "cannot hand the request to the native simulator (error " +
                std::to_string(GetLastError()) + ")";
    } else if (replyArrived(mailboxChanged, reply, error)) {
        const std::string answer = firstLine(reply);
        answered = answer == FOLDER_DONE;
        error = answered ? "" : answer;
    }
    FindCloseChangeNotification(mailboxChanged);
    DeleteFileA(reply.c_str());
    DeleteFileA(request.c_str());
    return answered;
}

// The change made, then seen from here as Wine reports it: writable or not.
bool change(const std::string& path, const char* what, bool writable,
            bool (*canWriteTo)(const std::string&), std::string& error) {
    const std::string unix = unixPath(path);
    if (unix.empty()) {
        error = "a read-only folder or file is made through Wine, and this is not Wine";
        return false;
    }
    std::string why;
    if (!askNativeSide(unix, what, why) || canWriteTo(path) != writable) {
        error = "cannot make " + path + (writable ? " writable" : " read-only") +
                (why.empty() ? "" : ": " + why);
        return false;
    }
    return true;
}

}  // namespace

bool makeFolderReadOnly(const std::string& folder, std::string& error) {
    return change(folder, FOLDER_READ_ONLY, false, canCreateIn, error);
}

bool makeFolderWritable(const std::string& folder, std::string& error) {
    return change(folder, FOLDER_WRITABLE, true, canCreateIn, error);
}

bool makeFileReadOnly(const std::string& file, std::string& error) {
    return change(file, READ_ONLY_FILE, false, canWrite, error);
}

bool makeFileWritable(const std::string& file, std::string& error) {
    return change(file, WRITABLE_FILE, true, canWrite, error);
}
