#pragma once
#include <string>

// Makes one folder (its parent must exist); false with the system's words in error, also when
// something by that name is already there.
bool makeFolder(const std::string& path, std::string& error);
