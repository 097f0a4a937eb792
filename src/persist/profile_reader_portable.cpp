#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "persist/ini_reader.h"
#include "persist/profile_reader.h"

namespace {

// The path is relative to the current folder as on Windows, with '\' taken as a separator.
std::string nativePath(const char* path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

// C streams report a read error (a folder by that name, say) instead of throwing, which
// matters here: the settings are read during static initialisation.
std::optional<std::string> readWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
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

}  // namespace

std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path) {
    const auto bytes = readWholeFile(nativePath(path));
    if (!bytes) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return profileInt(parseIniFile(*bytes), section, key, defaultValue);
}

// The portable reader takes any path.
std::string unreachableProfile(const char*) {
    return {};
}
