#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "persist/make_folder.h"

// The process's umask narrows the permissions as it does for any new folder.
bool makeFolder(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    error = std::strerror(errno);
    return false;
}
