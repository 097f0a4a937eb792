#include <windows.h>

#include "persist/profile_reader.h"

std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path) {
    return GetPrivateProfileIntA(section, key, defaultValue, path);
}
