#pragma once
#include <signal.h>
#include <sys/resource.h>

// While one lives, a write that takes a file past `bytes` fails with EFBIG ("File too large"),
// as on a full disk: the process's file size limit, with SIGXFSZ (which would end the process)
// ignored.
class FullDisk {
  public:
    explicit FullDisk(rlim_t bytes) : handler_(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &before_);
        signal(SIGXFSZ, handler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    sighandler_t handler_;
    rlimit before_{};
};
