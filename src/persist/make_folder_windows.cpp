#include <windows.h>

#include "persist/make_folder.h"
#include "persist/system_error.h"

// Windows' own words for a failure, as a failed load and a failed save give them.
bool makeFolder(const std::string& path, std::string& error) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0 || systemFailed(error);
}
