#pragma once
#include <string>

// Moves source over target in one step: a reader sees the old file or the new one, never a
// mix. False when the move failed; source is then still there.
bool replaceFile(const std::string& source, const std::string& target);
