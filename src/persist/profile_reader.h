#pragma once
#include <cstdint>
#include <string>

// GetPrivateProfileIntA's contract: the key's integer, or defaultValue when the file, the
// section, the key or its value is missing.
std::uint32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                             const char* path);

// Why the reader cannot reach the file at path although the file is there, in words for the
// log; empty when it can (or when there is no file). Windows' reader takes no full path past
// 259 characters.
std::string unreachableProfile(const char* path);
