// hold_file PATH SHARING: holds PATH open for reading and writing (making it when missing), as
// an antivirus scan or a cloud-sync client does, letting others share only what SHARING names
// ("none", or any of "read", "write" and "delete" joined by '+'). Prints "held" once it holds
// the file, or why it cannot, and holds it until its standard input ends. The simulator starts
// it for "other program holds" (sim/file_holder.h).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

bool sharingOf(const std::string& words, DWORD& sharing) {
    sharing = 0;
    if (words == "none") {
        return true;
    }
    std::size_t start = 0;
    while (start <= words.size()) {
        const std::size_t end = std::min(words.find('+', start), words.size());
        const std::string word = words.substr(start, end - start);
        if (word == "read") {
            sharing |= FILE_SHARE_READ;
        } else if (word == "write") {
            sharing |= FILE_SHARE_WRITE;
        } else if (word == "delete") {
            sharing |= FILE_SHARE_DELETE;
        } else {
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD sharing = 0;
    if (argc != 3 || !sharingOf(argv[2], sharing)) {
        std::printf("usage: hold_file PATH none|read|write|delete[+...]\n");
        return 2;
    }
    const HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("cannot open it (error %lu)\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char c = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return 0;
}
