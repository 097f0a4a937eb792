#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "persist/own_file.h"
#include "persist/system_error.h"

namespace {

// After a call that failed: a folder in the way (unlink says EISDIR, or on some systems EPERM,
// for one), a folder that forbids the change, or something else.
Creation whyNotCreated(const std::string& path, std::string& error) {
    const int cause = errno;
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        error = "a folder by that name is in the way";
        return Creation::NAME_TAKEN;
    }
    errno = cause;
    systemFailed(error);
    return cause == EACCES || cause == EPERM ? Creation::NOT_ALLOWED : Creation::FAILED;
}

}  // namespace

bool OwnFile::write(std::string_view text, std::string& error) {
    const int descriptor = static_cast<int>(handle_);
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno != EINTR) {
            return systemFailed(error);
        }
        text.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    return true;
}

bool OwnFile::truncate(std::string& error) {
    const int descriptor = static_cast<int>(handle_);
    return (ftruncate(descriptor, 0) == 0 && lseek(descriptor, 0, SEEK_SET) == 0) ||
           systemFailed(error);
}

bool OwnFile::length(std::uint64_t& bytes, std::string& error) {
    struct stat status {};
    if (fstat(static_cast<int>(handle_), &status) != 0) {
        return systemFailed(error);
    }
    bytes = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool OwnFile::seekTo(std::uint64_t offset, std::string& error) {
    return lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0 ||
           systemFailed(error);
}

bool OwnFile::cutTo(std::uint64_t bytes, std::string& error) {
    return ftruncate(static_cast<int>(handle_), static_cast<off_t>(bytes)) == 0 ||
           systemFailed(error);
}

std::uint64_t OwnFile::storedLength(std::string_view text) {
    return text.size();
}

bool OwnFile::flushToDisk(std::string& error) {
    return fsync(static_cast<int>(handle_)) == 0 || systemFailed(error);
}

bool OwnFile::close(std::string& error) {
    if (!isOpen()) {
        return true;
    }
    const int descriptor = static_cast<int>(std::exchange(handle_, NO_HANDLE));
    return ::close(descriptor) == 0 || systemFailed(error);
}

// O_EXCL fails on any name that exists, a link too, so nothing planted there is followed.
Creation createAfresh(const std::string& path, OwnFile& file, std::string& error) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        return whyNotCreated(path, error);
    }
    const int descriptor =
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return whyNotCreated(path, error);
    }
    file = OwnFile(descriptor);
    return Creation::CREATED;
}

// O_NOFOLLOW refuses a symbolic link; the link count tells a hard link. O_NONBLOCK keeps a
// pipe by that name from stopping the game until someone reads it.
bool openOwnFile(const std::string& path, OwnFile& file, std::string& error) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0 && errno == ELOOP) {
        error = "it is a symbolic link";
        return false;
    }
    if (descriptor < 0) {
        return systemFailed(error);
    }
    OwnFile opened(descriptor);
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        return systemFailed(error);
    }
    if (!S_ISREG(status.st_mode) || status.st_nlink != 1) {
        error =
            S_ISREG(status.st_mode) ? "it has another name (a hard link)" : "it is no plain file";
        return false;
    }
    file = std::move(opened);
    return true;
}
