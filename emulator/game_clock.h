#pragma once
#include <cstdint>
#include <limits>
#include <string>

// The longest run whole frames of this step reach before the 32-bit tick count comes round: a
// longer one, which waits for the tick count to move further than it can, would never end.
inline std::uint32_t longestRun(std::uint32_t frameStep) {
    return std::numeric_limits<std::uint32_t>::max() / frameStep * frameStep;
}

// Why a run longer than that is refused (by the host's `run` and the simulator's checked one).
inline std::string unreachableRun(std::uint32_t ms, std::uint32_t frameStep) {
    return std::to_string(ms) + " ms is never reached in frames of " + std::to_string(frameStep) +
           " ms before the tick count comes round: a run is at most " +
           std::to_string(longestRun(frameStep)) + " ms";
}

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
