#pragma once
#include <string>

// Only when the system says nothing is there: a file it cannot look at is not made anew.
bool pathMissing(const std::string& path);
