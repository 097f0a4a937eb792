#pragma once
#include <span>

// The usage of every command the simulator handles itself (the game folder's files, the
// expectations on them, and the rules): docs/scenarios.md lists each, and a test holds it to it.
std::span<const char* const> simVerbUsages();
