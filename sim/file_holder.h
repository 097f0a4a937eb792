#pragma once
#include <cstdint>
#include <string>

// Another Windows program that holds a file open, as an antivirus scan or a cloud-sync client
// does: the helper program named in TSW_FILE_HOLDER (tests/windows/hold_file.cpp), started
// with the file and the ways it lets others share it, and kept running until it is let go.
// Under Wine only; natively there are no sharing modes, and start says so.
constexpr const char* FILE_HOLDER_VARIABLE = "TSW_FILE_HOLDER";

class FileHolder {
  public:
    FileHolder() = default;
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    ~FileHolder() { letGo(); }

    // sharing: "none", or any of "read", "write" and "delete" joined by '+'. Returns once the
    // file is held (it is made when missing).
    bool hold(const std::string& path, const std::string& sharing, std::string& error);
    // Ends the holding program, which closes the file; nothing when none holds one.
    void letGo();
    bool holding() const { return process_ != 0; }

  private:
    std::intptr_t process_ = 0;
    std::intptr_t input_ = 0;  // the program holds on until its input ends
};
