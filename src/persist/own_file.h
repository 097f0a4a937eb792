#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// A file open for writing that no link led to: one created afresh, or one found at its name as
// a plain file known by no other name. Writing to it can never change a file elsewhere. Closed
// when it goes. Each call returns false on failure and puts the system's words in `error`.
class OwnFile {
  public:
    // A descriptor (POSIX) or a HANDLE (Windows): both systems' "none" is -1.
    static constexpr std::intptr_t NO_HANDLE = -1;

    OwnFile() = default;
    // Takes over an open file: only for the two functions below.
    explicit OwnFile(std::intptr_t handle) : handle_(handle) {}
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;
    OwnFile(OwnFile&& other) noexcept : handle_(std::exchange(other.handle_, NO_HANDLE)) {}
    OwnFile& operator=(OwnFile&& other) noexcept {
        std::string ignored;
        close(ignored);
        handle_ = std::exchange(other.handle_, NO_HANDLE);
        return *this;
    }
    ~OwnFile() {
        std::string ignored;
        close(ignored);
    }

    bool isOpen() const { return handle_ != NO_HANDLE; }
    // Adds text where the last write ended. The Windows build stores each "\n" as CR LF, as
    // the C library's text-mode streams do.
    bool write(std::string_view text, std::string& error);
    // Empties the file; the next write starts at its beginning.
    bool truncate(std::string& error);
    // The file's length in bytes.
    bool length(std::uint64_t& bytes, std::string& error);
    // The next write starts `offset` bytes into the file.
    bool seekTo(std::uint64_t offset, std::string& error);
    // Makes the file `bytes` long, the next write going where it went.
    bool cutTo(std::uint64_t bytes, std::string& error);
    // How many bytes write stores for text.
    static std::uint64_t storedLength(std::string_view text);
    bool flushToDisk(std::string& error);
    // True when there was nothing to close; false when the system reports a late write error.
    bool close(std::string& error);

  private:
    std::intptr_t handle_ = NO_HANDLE;
};

enum class Creation {
    CREATED,
    NOT_ALLOWED,  // the folder forbids it: no right to create or delete there
    NAME_TAKEN,   // what has the name cannot be removed: a folder, a file marked read-only
    FAILED,
};

// Removes whatever is at path (a file or a link, never what a link points to), then creates a
// new empty file there, failing rather than opening anything that took its place meanwhile.
Creation createAfresh(const std::string& path, OwnFile& file, std::string& error);

// Opens the existing file at path for writing, at its beginning, when it is a plain file that
// no link leads to and that has no other name; fails otherwise, without changing it.
bool openOwnFile(const std::string& path, OwnFile& file, std::string& error);
