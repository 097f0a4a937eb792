#pragma once
#include <cstdint>

#include "host/natives/misc.h"

// Game times are signed 32-bit milliseconds that wrap; sums and differences wrap with them.
inline std::int32_t gameTimeAfter(std::int32_t ms) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(getGameTimer()) +
                                     static_cast<std::uint32_t>(ms));
}

inline std::int32_t msSince(std::int32_t then) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(getGameTimer()) -
                                     static_cast<std::uint32_t>(then));
}
