#include <sys/stat.h>

#include "persist/make_folder.h"
#include "persist/system_error.h"

// The process's umask narrows the permissions as it does for any new folder.
bool makeFolder(const std::string& path, std::string& error) {
    return mkdir(path.c_str(), 0777) == 0 || systemFailed(error);
}
