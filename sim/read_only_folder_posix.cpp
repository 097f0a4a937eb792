#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/read_only_folder.h"

namespace {

bool failed(const std::string& what, std::string& error) {
    error = what + ": " + std::strerror(errno);
    return false;
}

// Whether this process can still create a file in the folder. A probe left behind (by a run
// that ended between its steps) must not read as "cannot create".
bool canCreateIn(const std::string& folder) {
    const std::string probe = folder + "/.tsw-write-probe";
    unlink(probe.c_str());
    const int descriptor = open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    close(descriptor);
    unlink(probe.c_str());
    return true;
}

// Whether this process can still open the file for writing.
bool canWrite(const std::string& file) {
    const int descriptor = open(file.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    close(descriptor);
    return true;
}

// The immutable attribute stops even root, which write permissions do not.
bool setImmutable(const std::string& path, bool immutable, std::string& error) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return failed("cannot open " + path, error);
    }
    int flags = 0;
    bool done = ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    if (done && ((flags & FS_IMMUTABLE_FL) != 0) != immutable) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!done) {
        failed("cannot change the attributes of " + path, error);
    }
    close(descriptor);
    return done;
}

// Write permission taken away; where that does not stop this user (root), the immutable
// attribute too.
template <typename StillWritable>
bool makeReadOnly(const std::string& path, mode_t mode, StillWritable stillWritable,
                  std::string& error) {
    if (chmod(path.c_str(), mode) != 0) {
        return failed("cannot make " + path + " read-only", error);
    }
    if (stillWritable(path) && !setImmutable(path, true, error)) {
        error += " (as root it must be made immutable: that needs CAP_LINUX_IMMUTABLE)";
        return false;
    }
    return true;
}

bool makeWritable(const std::string& path, mode_t mode, std::string& error) {
    std::string ignored;
    setImmutable(path, false, ignored);
    return chmod(path.c_str(), mode) == 0 || failed("cannot make " + path + " writable", error);
}

}  // namespace

bool makeFolderReadOnly(const std::string& folder, std::string& error) {
    return makeReadOnly(folder, 0555, canCreateIn, error);
}

bool makeFolderWritable(const std::string& folder, std::string& error) {
    return makeWritable(folder, 0755, error);
}

bool makeFileReadOnly(const std::string& file, std::string& error) {
    return makeReadOnly(file, 0444, canWrite, error);
}

bool makeFileWritable(const std::string& file, std::string& error) {
    return makeWritable(file, 0644, error);
}
