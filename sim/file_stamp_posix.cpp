#include <sys/stat.h>

#include "sim/file_stamp.h"

FileStamp fileStamp(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_size)};
}

FileStamp fileSizeAndTime(const std::string& path) {
    return fileStamp(path);
}
