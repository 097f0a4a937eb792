#pragma once
#include <string>
#include <string_view>

// The settings file's characters as the Windows profile reader sees them after decoding: a
// UTF-8 or UTF-16 byte-order mark picks the encoding, anything else is read byte by byte.
// ASCII stays as it is; every other character becomes one or more bytes of 0x80 and up, which
// is all the reader needs, since no such character is white space, a digit, or part of a name.
std::string decodeIniText(std::string_view bytes);
