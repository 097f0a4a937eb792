#pragma once
#include <cstdint>

#include "host/host_api.h"

// The emulated tick count: the plug-in's clock natively, its GetTickCount import under Wine.
extern "C" std::uint32_t tswEmulatorTickCount();
