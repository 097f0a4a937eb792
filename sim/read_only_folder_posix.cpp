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

// The immutable attribute stops even root, which write permissions do not.
bool setImmutable(const std::string& folder, bool immutable, std::string& error) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return failed("cannot open " + folder, error);
    }
    int flags = 0;
    bool done = ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    if (done && ((flags & FS_IMMUTABLE_FL) != 0) != immutable) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!done) {
        failed("cannot change the attributes of " + folder, error);
    }
    close(descriptor);
    return done;
}

}  // namespace

bool makeFolderReadOnly(const std::string& folder, std::string& error) {
    if (chmod(folder.c_str(), 0555) != 0) {
        return failed("cannot make " + folder + " read-only", error);
    }
    if (canCreateIn(folder) && !setImmutable(folder, true, error)) {
        error += " (as root the folder must be made immutable: that needs CAP_LINUX_IMMUTABLE)";
        return false;
    }
    return true;
}

bool makeFolderWritable(const std::string& folder, std::string& error) {
    std::string ignored;
    setImmutable(folder, false, ignored);
    return chmod(folder.c_str(), 0755) == 0 || failed("cannot make " + folder + " writable", error);
}
