#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"

struct ChaosOptions {
    std::uint64_t firstSeed = 1;
    std::uint64_t seeds = 1;        // how many seeds from the first, one after the other
    double seconds = 0;             // instead: as many as fit in this wall time
    std::uint64_t frames = 20'000;  // per game
    std::string outDir = ".";       // where a failing seed's scenario goes
    // How many replays shrinking may take: a count, not a time, so that a seed shrinks to the
    // same scenario on any machine.
    std::size_t shrinkReplays = 1000;
    ScenarioOptions scenario;       // the plug-in to load and the game folder
    std::FILE* progress = nullptr;  // where the run's progress goes, if anywhere (chaos_progress.h)
};

// A story that broke a rule, shrunk to the fewest commands that still break the same rule (the
// same id), in
// at most the replays the options allow (tries: how many it took). The result leaves out
// `invariants on`, which a scenario of it starts with.
std::vector<std::string> shrinkStory(const ChaosOptions& options,
                                     const std::vector<std::string>& story,
                                     const ScenarioOutcome& broken, std::size_t& tries);

// Plays seeded random games against the plug-in with every rule checked after every frame. The
// first seed that breaks a rule not broken before has its story shrunk to the fewest commands
// that still break the same rule, written to OUT_DIR/chaos-SEED.txt as a scenario; the games go
// on. At the end it names the rules no game put to the test, and writes for each rule the
// frames it was put to the test in to OUT_DIR/rules-tested-FIRST_SEED.txt ("ID FRAMES" a
// line). Returns 0 when every game held.
int runChaos(const ChaosOptions& options, std::FILE* out);
