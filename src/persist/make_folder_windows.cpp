#include <direct.h>

#include <cerrno>
#include <cstring>

#include "persist/make_folder.h"

// The C runtime's call, so its failure reads in the same words as a failed load.
bool makeFolder(const std::string& path, std::string& error) {
    if (_mkdir(path.c_str()) == 0) {
        return true;
    }
    error = std::strerror(errno);
    return false;
}
