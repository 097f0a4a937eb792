#pragma once
#include <cstdint>

// Virtual time only: the game timer and the system's tick count, one frame step at a time.
// They move together, except that a paused game stops its timer while the ticks run on.
struct GameClock {
    std::uint32_t gameTime = 0;
    std::uint32_t tickCount = 3'600'000;  // an hour of uptime, well past the key windows
    std::uint32_t frameStep = 16;
    std::uint64_t frame = 0;
    bool paused = false;

    void advanceFrame() {
        if (!paused) {
            gameTime += frameStep;
        }
        tickCount += frameStep;
        ++frame;
    }
};
