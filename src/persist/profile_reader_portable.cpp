#include "persist/ini_file.h"
#include "persist/ini_reader.h"
#include "persist/profile_reader.h"

std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path) {
    const auto bytes = readIniBytes(path);
    if (!bytes) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return profileInt(parseIniFile(*bytes), section, key, defaultValue);
}

// The portable reader takes any path.
std::string unreachableProfile(const char*) {
    return {};
}
