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

// What a value's text is to the reader: a whole number from 0 to 4294967295, written in
// decimal, reads as itself; anything else reads as something the text does not say.
enum class ProfileText {
    Number,
    Negative,  // wraps round to 4294967296 less the number
    TooLarge,  // wraps round modulo 4294967296
    NotWhole,  // the reader takes what number it can from the front ("0.5" is 0, "yes" 0)
    Empty,     // the row's default
};
ProfileText profileTextForm(std::string_view value);
