#pragma once
#include <string>

// Puts the system's own words for the call that just failed into `error` and returns false,
// so that a failing call reads `return call() || systemFailed(error);`.
bool systemFailed(std::string& error);
