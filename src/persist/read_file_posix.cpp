#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "persist/read_file.h"
#include "persist/system_error.h"

namespace {

ReadResult failed(std::string& error) {
    const bool missing = errno == ENOENT;
    systemFailed(error);
    return missing ? ReadResult::MISSING : ReadResult::FAILED;
}

}  // namespace

// No file here is ever held by another program: a POSIX system has no sharing modes. O_NONBLOCK
// keeps a pipe by that name from stopping the game until someone writes to it.
ReadResult readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return failed(error);
    }
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(descriptor, chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno != EINTR) {
            const ReadResult result = failed(error);
            close(descriptor);
            return result;
        }
        bytes.append(chunk, got < 0 ? 0 : static_cast<std::size_t>(got));
    }
    close(descriptor);
    return ReadResult::READ;
}
