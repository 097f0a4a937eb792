#include "host/clock.h"

// Provided by the emulated host that loads the plug-in.
extern "C" std::uint32_t tswEmulatorTickCount();

std::uint32_t tickCount() {
    return tswEmulatorTickCount();
}
