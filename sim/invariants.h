#pragma once
// What must always hold while the plug-in plays, whatever the player and the game do: the
// rules of rules.cpp, checked after every frame of a scenario that asks for it
// (`invariants on`) and of every chaos game.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/game_facts.h"
#include "sim/data_file_view.h"
#include "sim/rules.h"

// A rule that broke: its id, and what broke it, said as a player would read it.
struct BrokenRule {
    std::string_view id;
    std::string what;
};

class InvariantChecker {
  public:
    InvariantChecker();

    // Every scenario command, before it runs.
    void onCommand(const std::string& line);
    // The plug-in rewrote the data file (the simulator noticed a new file).
    void onDataFileWritten(const DataFileView& file);
    // The scenario itself changed the game folder's files: their state is the new baseline.
    void onFilesChanged(const DataFileView& file);
    // After a frame: the first rule that breaks.
    std::optional<BrokenRule> afterFrame(std::uint32_t gameTime, const GameFacts& facts);
    // For each rule, in the order of rules(): the frames it was put to the test in (those in
    // which it could have broken).
    const std::vector<std::uint64_t>& testedFrames() const { return tested_; }

  private:
    // A new load of the plug-in remembers nothing and counts its passes afresh.
    void startInstance(std::uint32_t instance);
    // Restarted scripts (a save load too) start their runs afresh: the greeting tables are
    // empty again and every rule's wait begins again.
    void startRuns(std::uint32_t restarts);
    // What the story did since the last frame has been looked at (while the plug-in was
    // loaded: the rules that look at it apply only then).
    void endFrame(const GameFacts& facts);

    Story story_;
    std::vector<Window> windows_;  // one per rule
    std::vector<std::uint64_t> tested_;
    bool writesAcceptedAgain_ = false;  // the folder unlocked or the disk given room, until
                                        // the next frame
    std::uint32_t lastInstance_ = 0;
    std::uint32_t lastRestarts_ = 0;
    std::uint32_t lastRespawns_ = 0;
    std::uint32_t lastPlayerPed_ = 0;
};
