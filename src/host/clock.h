#pragma once
#include <cstdint>

// Milliseconds since the system started (GetTickCount on Windows, the emulated host's tick
// count natively). Wraps modulo 2^32.
std::uint32_t tickCount();
