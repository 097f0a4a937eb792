#pragma once
// Paths are UTF-8 in the emulator's and the simulator's strings. On Windows a narrow path is
// read in the ANSI code page, which cannot name every folder (a user name in Greek or Japanese):
// a path a string names is opened through these.
#include <cstdio>
#include <filesystem>
#include <string>

std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);
// std::fopen for a path in UTF-8.
std::FILE* openFile(const std::string& utf8, const char* mode);
