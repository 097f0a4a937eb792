// The Windows simulator runs under Wine only. A folder is made read-only as Wine's Unix side
// sees it (write permission taken away, and when that does not stop this user, root, the
// immutable attribute), which Wine then reports to the plug-in as access denied, as Windows
// does for a folder the player may not write to.
#include <windows.h>

#include <string>

#include "sim/read_only_folder.h"

namespace {

using UnixFileName = char*(CDECL*)(const WCHAR*);

// The folder's path as Wine's Unix side names it, or empty outside Wine.
std::string unixPath(const std::string& folder) {
    const auto toUnix = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char full[MAX_PATH];
    if (toUnix == nullptr || GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr) == 0) {
        return {};
    }
    WCHAR wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH) == 0) {
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

bool canCreateIn(const std::string& folder) {
    const std::string probe = folder + "\\.tsw-write-probe";
    const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// Wine starts a Unix program given by its Z: path; its exit code does not come back, so the
// caller checks the effect.
bool runShell(const std::string& script) {
    std::string command = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Waits up to a few seconds for the folder to become (un)writable.
bool becomes(const std::string& folder, bool writable) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (canCreateIn(folder) == writable) {
            return true;
        }
        Sleep(30);
    }
    return false;
}

bool change(const std::string& folder, bool writable, std::string& error) {
    const std::string unix = unixPath(folder);
    if (unix.empty()) {
        error = "a read-only folder is made through Wine, and this is not Wine";
        return false;
    }
    const std::string quoted = "'" + unix + "'";
    const std::string script = writable
                                   ? "chattr -i " + quoted + " 2>/dev/null; chmod 755 " + quoted
                                   : "chmod 555 " + quoted + " && { touch " + quoted +
                                         "/.tsw-probe 2>/dev/null && rm -f " + quoted +
                                         "/.tsw-probe && chattr +i " + quoted + "; true; }";
    if (!runShell(script) || !becomes(folder, writable)) {
        error = "cannot make " + folder + (writable ? " writable" : " read-only");
        return false;
    }
    return true;
}

}  // namespace

bool makeFolderReadOnly(const std::string& folder, std::string& error) {
    return change(folder, false, error);
}

bool makeFolderWritable(const std::string& folder, std::string& error) {
    return change(folder, true, error);
}
