#include <windows.h>

#include <cstdlib>
#include <string>

#include "sim/file_holder.h"

namespace {

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// The helper's first line: "held", or why it could not hold the file.
std::string firstLine(HANDLE output) {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(output, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
        if (c != '\r') {
            line += c;
        }
    }
    return line;
}

}  // namespace

bool FileHolder::hold(const std::string& path, const std::string& sharing, std::string& error) {
    const char* helper = std::getenv(FILE_HOLDER_VARIABLE);
    if (helper == nullptr) {
        error = std::string("a file is held by the helper program named in ") +
                FILE_HOLDER_VARIABLE + ", which is not set (the Wine tests set it)";
        return false;
    }
    if (holding()) {
        error = "another program holds a file already: let it go first";
        return false;
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
    CreatePipe(&inputRead, &inputWrite, &inherited, 0);
    CreatePipe(&outputRead, &outputWrite, &inherited, 0);
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    PROCESS_INFORMATION started{};
    std::string command;
    for (const std::string& part : {std::string("\""), std::string(helper), std::string("\" \""),
                                    path, std::string("\" "), sharing}) {
        command += part;
    }
    const bool ran = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    nullptr, &startup, &started) != 0;
    const DWORD startError = GetLastError();
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    const std::string said = ran ? firstLine(outputRead) : "";
    CloseHandle(outputRead);
    if (ran) {
        CloseHandle(started.hThread);
        process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
    }
    input_ = reinterpret_cast<std::intptr_t>(inputWrite);
    if (said == "held") {
        return true;
    }
    letGo();
    error =
        ran ? "the helper could not hold " + path + ": " + said
            : "cannot start " + std::string(helper) + " (error " + std::to_string(startError) + ")";
    return false;
}

void FileHolder::letGo() {
    if (input_ != 0) {
        CloseHandle(handleOf(input_));
        input_ = 0;
    }
    if (process_ != 0) {
        WaitForSingleObject(handleOf(process_), INFINITE);
        CloseHandle(handleOf(process_));
        process_ = 0;
    }
}
