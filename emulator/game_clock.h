#pragma once
#include <cstdint>

// Virtual time only: game time and the tick count move together, one frame step at a time.
struct GameClock {
    std::uint32_t gameTime = 0;
    std::uint32_t tickCount = 3'600'000;  // an hour of uptime, well past the key windows
    std::uint32_t frameStep = 16;
    std::uint64_t frame = 0;

    void advanceFrame() {
        gameTime += frameStep;
        tickCount += frameStep;
        ++frame;
    }
};
