#pragma once
// The rules the plug-in is held to after every frame of a chaos game (and of a scenario with
// `invariants on`), one row each (rules.cpp): an id, which names the rule where it breaks and
// on which shrinking keys; one line for the docs (docs/reference.md lists them); when it
// applies; how long its condition must last; and its check over the frame's typed facts.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "emulator/game_facts.h"

// How long a rule's condition must last before what it implies is checked: some game time,
// and after that some whole badge-script passes (a pass may wait seconds inside).
struct Wait {
    std::uint32_t ms = 0;
    std::int64_t passEnds = 0;
};

// A rule's condition followed from frame to frame.
struct Window {
    Wait wait;
    std::int64_t morePasses = 0;  // a check may ask for more as the condition begins
    bool open = false;
    bool timeUp = false;
    std::uint32_t since = 0;
    std::int64_t passesWhenTimeUp = 0;

    void track(bool holds, std::uint32_t now, std::int64_t passes);
    bool lasted(std::int64_t passes) const;
};

// A ped that has greeted, as the plug-in's greeting table would hold it.
struct Greeter {
    std::uint32_t greetings = 0;
    bool awaySince = false;   // more than 50 from the player since its last greeting
    bool remembered = false;  // as the plug-in's greeting table would hold it
};

// What the checker knows beyond a frame's facts: what the story did to the game, its files and
// the plug-in, and what the plug-in wrote. Each wait begins again at a load, a save load or a
// restart of the scripts, and counts the passes of the run that begins then (its 500 ms
// start-up has none): a run's scripts have done nothing of their own yet.
struct Story {
    std::optional<std::string> unreadLine;  // in the data file the plug-in wrote last
    std::optional<std::string> lostKey;     // of the file before it
    std::uint32_t dataWrites = 0;           // checked since the last frame
    std::set<std::string> dataKeys;
    std::optional<std::int32_t> recordedBadge;  // the data file's `badge`, read as the plug-in does
    bool dataFileExists = true;
    bool dataFileAtLoad = true;
    // Since the last frame that looked at them: the story took the badge or changed the gate
    // (or the plug-in recorded another badge), moved the player, took blips, took prompts.
    bool badgeInterfered = false;
    bool playerMoved = false;
    bool blipsTaken = false;
    bool promptsTaken = false;
    // The data file may not yet hold what the player chose: the folder is locked or the disk
    // full, or they took writes again too recently for the plug-in's next try, or a choice it
    // could not save was lost with an unload that found them refusing (until the next save).
    bool folderLocked = false;
    bool diskFull = false;
    std::optional<std::uint32_t> writableSince;  // tick count of the first frame after
    bool choiceMayBeLost = false;
    bool catchingUp = false;            // unlocked, and the file not yet held to the badge worn
    std::int64_t runStartPasses = 0;    // the badge script's passes when its running run began
    bool dutySinceLoad = false;         // a badge worn off a mission since the plug-in's load,
                                        // or REL_COP left by an earlier load
    std::uint32_t settingsUndone = 0;   // the game's settings undone by the frame before
    std::uint32_t treatedOutdoors = 0;  // peds outside every office room treated by then
    std::map<std::int32_t, Greeter> greeters;

    // The badge script's run is past its start-up (a pass of this run has ended) and has not
    // ended.
    bool looping(const GameFacts& facts) const;
    bool writesRefused() const { return folderLocked || diskFull; }
    // At this tick count: the plug-in's tries run on it, a pause or not.
    bool fileMayLag(std::uint32_t tick) const;
};

// What a rule's check sees of one frame: its facts, the story so far, and the rule's own
// window.
struct RuleFrame {
    std::uint32_t now;
    const GameFacts& facts;
    Story& story;
    Window& window;
};

// What a check found in a frame: whether the rule could have broken in it at all (a rule that
// never could in a run of games is one the games do not test), and the break, said as a player
// would read it.
struct Verdict {
    bool tested = false;
    std::optional<std::string> broken;
};

enum class Applies {
    always,
    whilePluginLoaded,
};

struct Rule {
    const char* id;
    const char* doc;
    Applies applies;
    Wait wait;  // for a rule whose condition must last
    Verdict (*check)(RuleFrame& frame);
};

std::span<const Rule> rules();

// Broken by a malformed native call: the emulated host stops the run at the call itself.
inline constexpr std::string_view WELL_FORMED_CALLS = "well-formed-calls";
