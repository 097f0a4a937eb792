#include <windows.h>

#include "persist/replace_file.h"

// The C library's rename refuses an existing target on Windows.
bool replaceFile(const std::string& source, const std::string& target) {
    return MoveFileExA(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
