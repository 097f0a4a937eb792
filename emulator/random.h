#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>

// splitmix64: the same sequence on every platform and standard library, from one seed.
class Random {
  public:
    explicit Random(std::uint64_t seed = 1) : state_(seed) {}
    void seed(std::uint64_t seed) { state_ = seed; }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Every draw answers this value, held inside the range asked for (a test pins draws).
    void pin(std::int32_t value) { pinned_ = value; }
    void unpin() { pinned_.reset(); }

    // An integer in [low, high), the game's bounds convention; low when the range is empty.
    std::int32_t inRange(std::int32_t low, std::int32_t high) {
        if (high <= low) {
            return low;
        }
        if (pinned_) {
            return std::clamp(*pinned_, low, high - 1);
        }
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low);
        return static_cast<std::int32_t>(low + static_cast<std::int64_t>(next() % span));
    }

  private:
    std::uint64_t state_;
    std::optional<std::int32_t> pinned_;
};
