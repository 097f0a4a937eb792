#include <windows.h>

#include <string>

#include "persist/profile_reader.h"

std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path) {
    return GetPrivateProfileIntA(section, key, defaultValue, path);
}

// The wide calls take the long path that the reader refuses. The path is the plug-in's own
// ASCII text.
std::string unreachableProfile(const char* path) {
    const std::wstring wide(path, path + std::char_traits<char>::length(path));
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.size() < MAX_PATH ||
        GetFileAttributesW((L"\\\\?\\" + full).c_str()) == INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    return "its full path is " + std::to_string(full.size()) +
           " characters long, and Windows reads settings only from a path of at most " +
           std::to_string(MAX_PATH - 1);
}
