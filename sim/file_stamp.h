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
