#pragma once
// The known words nearest one that is not known, for an error to suggest: a slip of a letter
// or two, or a different case, finds the word that was meant.
#include <cstddef>
#include <string>
#include <vector>

// Edits (insert, delete, change, swap of neighbours) from one to the other, case aside.
std::size_t editDistance(const std::string& a, const std::string& b);
// Near enough to be a slip: a third of what was written may be wrong, two letters of a short
// word.
bool isSlip(const std::string& written, std::size_t distance);

// At most three, nearest first (the known list's order among equals); none when nothing is
// near enough to be a slip.
std::vector<std::string> nearestWords(const std::string& word,
                                      const std::vector<std::string>& known);
// "A, B or C".
std::string listedWithOr(const std::vector<std::string>& words);
// " (did you mean A, B or C?)", or empty when nothing is near.
std::string didYouMean(const std::string& word, const std::vector<std::string>& known);
// The same for words already chosen.
std::string didYouMean(const std::vector<std::string>& nearest);
