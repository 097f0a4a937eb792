#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "persist/ini_document.h"

// The Windows profile reader's integer lookup, done on the settings file's bytes: together
// the two give the answer GetPrivateProfileIntA gives for that file, section and key.
std::vector<IniSection> parseIniFile(std::string_view fileBytes);
std::uint32_t profileInt(const std::vector<IniSection>& sections, std::string_view section,
                         std::string_view key, std::int32_t defaultValue);

// How the reader turns a found value into an integer; an empty value gives the default.
std::uint32_t profileIntFromValue(std::string_view value, std::int32_t defaultValue);
