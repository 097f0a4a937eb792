#pragma once
#include <optional>
#include <string>

// The settings file's bytes, or none when it cannot be read. The path is taken as Windows
// takes it, relative to the current folder, '\' a separator. C streams report a read error
// (a folder by that name, say) instead of throwing, which matters here: the settings are read
// during static initialisation.
std::optional<std::string> readIniBytes(const char* path);
