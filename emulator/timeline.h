#pragma once
#include <cstdint>

// Receives one line a time of what a player would see or what changed in the world.
using TimelineSink = void (*)(std::uint32_t gameTime, const char* text, void* context);
