#pragma once
#include <cstdint>
#include <string>

// Enough of a file's identity to notice every rewrite: the data file is replaced by a new
// file on each save (a new file number), and file times alone are too coarse.
struct FileStamp {
    bool exists = false;
    std::uint64_t id = 0;
    std::int64_t modified = 0;
    std::uint64_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStamp(const std::string& path);

// A cheaper look for a file that only grows or is started afresh (the diagnostics log): its
// size and last write time, or exists false.
FileStamp fileSizeAndTime(const std::string& path);

// A folder held open, so that a look at its time needs no lookup of its path: under Wine a
// look by path costs microseconds, one by handle a fraction of that.
class OpenFolder {
  public:
    OpenFolder() = default;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder() { close(); }

    // Closes any folder held before; false when there is no such folder.
    bool open(const std::string& path);
    void close();
    // Its last write time (a name added, removed or replaced in it); exists false when none is
    // held.
    FileStamp stamp() const;

  private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows handle
};

// The system time, in the units of FileStamp::modified.
std::int64_t fileClockNow();
// File times are kept coarsely (to a kernel tick): a file changed again shortly after a look
// may show the same time as before. This long after its time, a change shows a later one.
std::int64_t fileTimeSettles();
