#pragma once
#include <string>
#include <string_view>
#include <vector>

// The known name a misspelt one most likely meant: the nearest by edits (a letter added,
// dropped, changed, or two swapped; case aside), when it is near enough to be a slip (a
// third of the name may be wrong, two letters of a short one). Empty when none is.
std::string nearestName(std::string_view written, const std::vector<std::string_view>& known);
