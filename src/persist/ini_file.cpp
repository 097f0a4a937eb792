#include "persist/ini_file.h"

#include <algorithm>
#include <cstdio>

std::optional<std::string> readIniBytes(const char* path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    std::FILE* file = std::fopen(native.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::nullopt : std::optional<std::string>(std::move(bytes));
}
