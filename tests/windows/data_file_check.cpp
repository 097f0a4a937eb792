// The data file's Windows-only behaviour, run under Wine: lines stored as CR LF, a save that
// replaces an existing file, failed saves that leave the old file and no temporary one and say
// why, the flush to disk made later, a file held by another program told from a missing one.
// Prints each failed check and exits non-zero when there was one.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "persist/dict_data_file.h"

namespace {

int failures = 0;

void check(bool passed, const char* what) {
    if (!passed) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string freshFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "tsw-data-file-check-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void checkSaveReplacesWithCrLf(const std::string& path) {
    std::ofstream(path, std::ios::binary) << "badge=1\r\nold=x\r\n";
    DictDataFile file(path);
    check(file.load(), "load of a CR LF file");
    check(file.getInt("badge") == 1 && file.getString("old") == "x", "CR LF lines read");
    file.setInt("badge", 3);
    file.setFloat("xxxxx", 0.15f);
    check(file.save(false), "save over an existing file");
    check(readBytes(path) == "badge=3\r\nold=x\r\nxxxxx=0.150000\r\n", "saved as CR LF lines");
    check(!exists(path + ".tmp"), "no temporary file after a save");
    check(file.save(true), "second save over the file just written");
}

void checkFailedSavesLeaveTheOldFile(const std::string& folder, const std::string& path) {
    DictDataFile nowhere(folder + "\\missing\\data.dat");
    nowhere.setInt("badge", 1);
    check(!nowhere.save(false), "save into a missing folder fails");
    check(nowhere.isDirty(), "failed save stays dirty");
    check(!nowhere.error.empty(), "a failed save says why");

    // An editor holding the file open without delete sharing makes the move fail.
    std::ofstream(path, std::ios::binary) << "badge=1\r\n";
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DictDataFile file(path);
    file.setInt("badge", 5);
    check(!file.save(false), "save over a file held open fails");
    check(!file.error.empty() && file.error.back() != '\n', "the system's words for it, one line");
    CloseHandle(held);
    check(file.isDirty(), "failed replace stays dirty");
    check(readBytes(path) == "badge=1\r\n", "failed replace keeps the old file");
    check(!exists(path + ".tmp"), "failed replace removes its temporary file");
    check(file.save(false), "save after the file is let go");
}

// Lone CR line ends and a byte-order mark read as on every build; a save made without its
// flush, then flushed, leaves the file as a flushed save does.
void checkLineEndsAndLaterFlush(const std::string& path) {
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF"
                                             "badge=2\rxxxxx=0.5\r";
    DictDataFile file(path);
    check(file.load(), "load of a CR-only file with a byte-order mark");
    check(file.getInt("badge") == 2 && file.getString("xxxxx") == "0.5", "CR-only lines read");
    file.setInt("badge", 3);
    check(file.saveWithoutFlush() && file.flushPending(), "a save left for a later flush");
    check(file.flushToDisk() && !file.flushPending(), "the later flush");
    check(readBytes(path) == "badge=3\r\nxxxxx=0.5\r\n", "saved whole as CR LF lines");
}

// Only a file another program holds is "in use", which the start waits for; a missing file or
// a folder by its name is not.
void checkInUseIsToldFromMissingAndUnreadable(const std::string& folder, const std::string& path) {
    std::ofstream(path, std::ios::binary) << "badge=1\r\n";
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DictDataFile file(path);
    file.entries["kept"] = "1";
    check(!file.load() && file.inUse, "a file held with no sharing is in use");
    check(file.entries.size() == 1, "a failed load leaves the entries as they were");
    CloseHandle(held);
    check(file.load() && !file.inUse && file.getInt("badge") == 1, "read once let go");
    DictDataFile missing(folder + "\\none.dat");
    check(!missing.load() && !missing.inUse, "a missing file is not in use");
    CreateDirectoryA((folder + "\\folder.dat").c_str(), nullptr);
    DictDataFile aFolder(folder + "\\folder.dat");
    check(!aFolder.load() && !aFolder.inUse, "a folder by the name is not in use");
    RemoveDirectoryA((folder + "\\folder.dat").c_str());
}

// What has the temporary file's name and cannot be removed is named as the cause of a save
// made in place: a folder, or a file marked read-only.
void checkTheTemporaryNamesHolderIsTheCause(const std::string& path) {
    const std::string temporary = path + ".tmp";
    std::ofstream(path, std::ios::binary) << "badge=1\r\n";
    DictDataFile file(path);
    CreateDirectoryA(temporary.c_str(), nullptr);
    file.setInt("badge", 2);
    check(file.save(false), "a save with a folder at the temporary name");
    check(file.inPlaceCause.find("a folder by that name is in the way") != std::string::npos,
          "the folder named as the cause");
    RemoveDirectoryA(temporary.c_str());
    std::ofstream(temporary, std::ios::binary) << "stale";
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_READONLY);
    file.setInt("badge", 3);
    check(file.save(false), "a save with a read-only file at the temporary name");
    check(file.inPlaceCause.find("marked read-only") != std::string::npos,
          "the read-only file named as the cause");
    check(readBytes(path) == "badge=3\r\n", "saved in place");
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temporary.c_str());
}

}  // namespace

int main() {
    const std::string folder = freshFolder();
    const std::string path = folder + "\\TinStarWarden.dat";
    checkSaveReplacesWithCrLf(path);
    checkFailedSavesLeaveTheOldFile(folder, path);
    checkLineEndsAndLaterFlush(path);
    checkInUseIsToldFromMissingAndUnreadable(folder, path);
    checkTheTemporaryNamesHolderIsTheCause(path);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    std::printf("%s\n", failures == 0 ? "all checks passed" : "some checks failed");
    return failures == 0 ? 0 : 1;
}
