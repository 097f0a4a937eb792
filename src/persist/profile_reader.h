#pragma once
#include <cstdint>

// GetPrivateProfileIntA's contract: the key's integer, or defaultValue when the file, the
// section, the key or its value is missing.
std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path);
