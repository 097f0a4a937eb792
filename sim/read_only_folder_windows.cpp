// The Windows simulator runs under Wine only. A folder is made read-only as Wine's Unix side
// sees it (write permission taken away, and when that does not stop this user, root, the
// immutable attribute), which Wine then reports to the plug-in as access denied, as Windows
// does for a folder the player may not write to.
#include <windows.h>

#include <fstream>
#include <string>

#include "sim/read_only_folder.h"

namespace {

using UnixFileName = char*(CDECL*)(const WCHAR*);

// How long a shell step may take, and how often its end is looked for.
constexpr int SHELL_WAIT_LIMIT_MS = 10000;
constexpr int SHELL_POLL_MS = 2;

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

// A file name of this process's own in the Windows temporary folder, new at each call.
std::string freshTemporaryPath() {
    static unsigned calls = 0;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "tsw-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++calls);
}

// The first line of a text file, or empty.
std::string firstLine(const std::string& path) {
    std::string line;
    std::getline(std::ifstream(path), line);
    return line;
}

// Waits for the shell's last step, a file it moves into place holding its exit code; true
// when that code is 0.
bool shellSucceeded(const std::string& done, std::string& error) {
    for (int waited = 0; GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited) {
        if (waited == SHELL_WAIT_LIMIT_MS / SHELL_POLL_MS) {
            error = "/bin/sh did not finish within " + std::to_string(SHELL_WAIT_LIMIT_MS) + " ms";
            return false;
        }
        Sleep(SHELL_POLL_MS);
    }
    const std::string code = firstLine(done);
    DeleteFileA(done.c_str());
    if (code != "0") {
        error = "/bin/sh ended with code " + code;
        return false;
    }
    return true;
}

// Wine starts a Unix program given by its Z: path, but hands back no process to wait for: the
// shell reports its end itself.
bool runShell(const std::string& script, std::string& error) {
    const std::string done = freshTemporaryPath();
    const std::string doneUnix = unixPath(done);
    if (doneUnix.empty()) {
        error = "no Unix name for " + done;
        return false;
    }
    const std::string quotedDone = "'" + doneUnix + "'";
    std::string command = "Z:\\bin\\sh -c \"{ " + script + "; }; echo $? > " + quotedDone +
                          ".part && mv " + quotedDone + ".part " + quotedDone + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        error = "cannot start /bin/sh (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shellSucceeded(done, error);
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
    std::string why;
    if (!runShell(script, why) || canCreateIn(folder) != writable) {
        error = "cannot make " + folder + (writable ? " writable" : " read-only") +
                (why.empty() ? "" : ": " + why);
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
