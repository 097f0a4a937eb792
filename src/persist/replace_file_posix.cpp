#include <cstdio>

#include "persist/replace_file.h"

// rename(2) replaces an existing target atomically.
bool replaceFile(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}
