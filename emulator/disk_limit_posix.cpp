#include <signal.h>
#include <sys/resource.h>

#include "emulator/disk_limit.h"

namespace {

struct Limit {
    bool on = false;
    rlimit before{};
    rlim_t bytes = 0;
    sighandler_t handler = SIG_DFL;
    int ownWrites = 0;  // OwnWrites alive
};
Limit limit;

void setCurrent(rlim_t bytes) {
    rlimit now = limit.before;
    now.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &now);
}

}  // namespace

bool limitFileSizes(std::uint64_t bytes, std::string& error) {
    if (!limit.on) {
        if (getrlimit(RLIMIT_FSIZE, &limit.before) != 0) {
            error = "cannot read the file size limit";
            return false;
        }
        limit.handler = signal(SIGXFSZ, SIG_IGN);
    }
    if (limit.before.rlim_max != RLIM_INFINITY && bytes > limit.before.rlim_max) {
        error = "beyond the file size limit this process may set";
        return false;
    }
    limit.on = true;
    limit.bytes = static_cast<rlim_t>(bytes);
    if (limit.ownWrites == 0) {
        setCurrent(limit.bytes);
    }
    return true;
}

bool fileSizesCanBeLimited() {
    return true;
}

void unlimitFileSizes() {
    if (limit.on) {
        setrlimit(RLIMIT_FSIZE, &limit.before);
        signal(SIGXFSZ, limit.handler);
        limit.on = false;
    }
}

OwnWrites::OwnWrites() {
    if (limit.ownWrites++ == 0 && limit.on) {
        setCurrent(limit.before.rlim_cur);
    }
}

OwnWrites::~OwnWrites() {
    if (--limit.ownWrites == 0 && limit.on) {
        setCurrent(limit.bytes);
    }
}
