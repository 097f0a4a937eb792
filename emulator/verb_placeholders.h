#pragma once
// The placeholders both command languages share: a usage that names one of these means this
// type, unless its form declares a placeholder of that name of its own (an office's N).
#include <cstdint>
#include <limits>

#include "emulator/verb_form.h"

namespace placeholders {

constexpr std::int64_t UINT32_HIGH = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t INT32_LOW = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t INT32_HIGH = std::numeric_limits<std::int32_t>::max();

// clang-format off
inline constexpr Placeholder POSITION =  {"X Y Z",    Takes::POSITION, "a position", 0, 0, "1 2 3"};
inline constexpr Placeholder OFFSET =    {"DX DY DZ", Takes::POSITION, "an offset from the chest point", 0, 0, "0 0 0.1"};
inline constexpr Placeholder HEADING =   {"HEADING",  Takes::NUMBER,   "a heading in degrees", 0, 0, "90"};
inline constexpr Placeholder MS =        {"MS",       Takes::WHOLE,    "a time in milliseconds", 0, UINT32_HIGH, "100"};
inline constexpr Placeholder COUNT =     {"N",        Takes::WHOLE,    "a count", 0, UINT32_HIGH, "1"};
inline constexpr Placeholder HASH =      {"HASH",     Takes::WHOLE,    "a hash", 0, UINT32_HIGH, "1"};
inline constexpr Placeholder NAME =      {"NAME",     Takes::WORD,     "a name", 0, 0, "ann"};
inline constexpr Placeholder PED =       {"PED",      Takes::WORD,     "a ped's name", 0, 0, "ann"};
inline constexpr Placeholder MODEL =     {"MODEL",    Takes::WORD,     "a model's name", 0, 0, "A_M_M_VALTOWNFOLK_01"};
inline constexpr Placeholder TEXT =      {"TEXT",     Takes::TEXT,     "a text", 0, 0, "Select Badge"};
inline constexpr Placeholder FILE =      {"FILE",     Takes::TEXT,     "a file's path", 0, 0, "story.trace"};
// clang-format on

inline constexpr const Placeholder* SHARED[] = {&POSITION, &OFFSET, &HEADING, &MS,   &COUNT, &HASH,
                                                &NAME,     &PED,    &MODEL,   &TEXT, &FILE};

}  // namespace placeholders
