#pragma once
// How a long chaos run is going: games played, frames a second, rules broken so far and time
// left. On a terminal one line rewritten in place; otherwise (a log, a pipe) a line every 10 s.
#include <chrono>
#include <cstdint>
#include <cstdio>

struct ChaosProgressState {
    std::uint64_t games = 0;
    std::uint64_t frames = 0;  // played in all
    std::size_t broken = 0;    // rules broken so far, each counted once
    double elapsed = 0;        // seconds
    double left = 0;           // seconds, estimated when the run is a number of games
};

class ChaosProgress {
  public:
    explicit ChaosProgress(std::FILE* to);
    void update(const ChaosProgressState& state);
    // Ends a live line, so that what follows starts on a line of its own.
    void finish();

  private:
    std::FILE* to_;
    bool live_;
    double lastShown_ = 0;
    bool shown_ = false;
};
