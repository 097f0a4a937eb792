#pragma once
// tsw-sim's command line, its arguments in UTF-8 after the program's name: each platform's entry
// (program_entry_posix.cpp, program_entry_windows.cpp) hands them over.
#include <string>
#include <vector>

int simulatorMain(const std::vector<std::string>& args);
