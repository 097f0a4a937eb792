#include <windows.h>

#include "host/clock.h"

std::uint32_t tickCount() {
    return GetTickCount();
}
