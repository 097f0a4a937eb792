#pragma once
// A random but reproducible game: the same seed always writes the same scenario lines.
#include <cstdint>
#include <string>
#include <vector>

// The files, `invariants on`, `load`, then steps of commands each ending with a `run`, until
// the runs add up to the frames asked for (16 ms each).
std::vector<std::string> chaosStory(std::uint64_t seed, std::uint64_t frames);
