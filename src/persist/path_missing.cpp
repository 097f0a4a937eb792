#include "persist/path_missing.h"

#include <sys/stat.h>

#include <cerrno>

bool pathMissing(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) != 0 && errno == ENOENT;
}
