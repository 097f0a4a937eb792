#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "sim/file_stamp.h"

namespace {

FileStamp stampOf(const struct stat& info) {
    return {true, static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_size)};
}

}  // namespace

FileStamp fileStamp(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? stampOf(info) : FileStamp{};
}

FileStamp fileSizeAndTime(const std::string& path) {
    return fileStamp(path);
}

bool OpenFolder::open(const std::string& path) {
    close();
    handle_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return handle_ >= 0;
}

void OpenFolder::close() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

FileStamp OpenFolder::stamp() const {
    struct stat info {};
    return handle_ >= 0 && fstat(static_cast<int>(handle_), &info) == 0 ? stampOf(info)
                                                                        : FileStamp{};
}

std::int64_t fileClockNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// A tenth of a second, in nanoseconds: well past a kernel tick.
std::int64_t fileTimeSettles() {
    return 100'000'000;
}
