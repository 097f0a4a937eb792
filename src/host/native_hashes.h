#pragma once
#include <cstdint>

using NativeHash = std::uint64_t;

namespace natives {
#define TSW_NATIVE(constant, hash, gameName) constexpr NativeHash constant = hash;
#include "host/native_list.inc"
#undef TSW_NATIVE
}  // namespace natives
