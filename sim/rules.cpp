#include "sim/rules.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "emulator/atlas.h"

namespace {

constexpr float FORGET_DISTANCE = 50.0f;
// A save that failed is tried again once a second of the tick count: once the disk takes
// writes, a choice reaches it within that and the pass it waits for.
constexpr std::uint32_t SAVED_WITHIN_MS = 2000;
// The plug-in's greeting table (GREETING_SLOTS): a ped greeted while it is full is not kept.
constexpr std::size_t GREETING_TABLE_SLOTS = 20;
constexpr std::int32_t NO_BADGE_WORN = -1;

Verdict untested() {
    return {};
}

Verdict held() {
    return {true, std::nullopt};
}

Verdict broken(std::string why) {
    return {true, std::move(why)};
}

// Follows the rule's condition to this frame: whether it has lasted the rule's wait.
bool lasted(RuleFrame& frame, bool condition) {
    const auto passes = static_cast<std::int64_t>(frame.facts.passes);
    frame.window.track(condition, frame.now, passes);
    return frame.window.lasted(passes);
}

bool hasEnded(const GameFacts& facts, std::string_view script) {
    return std::find(facts.ended.begin(), facts.ended.end(), script) != facts.ended.end();
}

// How many creations of catalogue badge `index` the game will still refuse (a model it has not
// loaded yet): each costs the attachment check a pass.
std::int64_t creationsToFail(const GameFacts& facts, std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    return at < facts.createfails.size() ? facts.createfails[at] : 0;
}

// The checks, in the order of the rows: the first that breaks in a frame is the one reported.

Verdict dataFileReads(RuleFrame& frame) {
    const Story& story = frame.story;
    if (story.dataWrites == 0) {
        return untested();
    }
    return story.unreadLine ? broken("the data file holds a line that does not read: \"" +
                                     *story.unreadLine + "\"")
                            : held();
}

Verdict dataFileKeepsKeys(RuleFrame& frame) {
    const Story& story = frame.story;
    if (story.dataWrites == 0) {
        return untested();
    }
    return story.lostKey ? broken("the data file lost its entry " + *story.lostKey) : held();
}

Verdict wellFormedCalls(RuleFrame& frame) {
    return frame.facts.loaded ? held() : untested();
}

Verdict menuScriptRuns(RuleFrame& frame) {
    if (!frame.facts.loaded) {
        return untested();
    }
    return hasEnded(frame.facts, "BadgeMenuScript") ? broken("the menu script ended") : held();
}

Verdict badgeScriptRuns(RuleFrame& frame) {
    if (!frame.facts.loaded || !frame.story.dataFileAtLoad) {
        return untested();
    }
    return hasEnded(frame.facts, "BadgeScript")
               ? broken("the badge script ended although the data file was there at the start")
               : held();
}

Verdict blipsPerOffice(RuleFrame& frame) {
    const std::uint32_t blips = frame.facts.blips;
    if (blips == 0) {
        return untested();
    }
    return blips > atlas::LAW_OFFICE_COUNT
               ? broken("the running plug-in made " + std::to_string(blips) + " office blips")
               : held();
}

Verdict promptsOnce(RuleFrame& frame) {
    const std::pair<const char*, std::uint32_t> shown[] = {
        {"door prompts", frame.facts.doorprompts},
        {"\"Select Badge\" prompts", frame.facts.select},
        {"\"REMOVE BADGE\" prompts", frame.facts.remove},
    };
    bool any = false;
    for (const auto& [prompts, count] : shown) {
        if (count > 1) {
            return broken(std::to_string(count) + " " + prompts + " are shown at once");
        }
        any = any || count == 1;
    }
    return any ? held() : untested();
}

// A choice lost with an unload leaves the file and the world apart: the next start puts the
// recorded badge on, and one of another model worn stays beside it.
Verdict oneBadge(RuleFrame& frame) {
    const std::uint32_t chest = frame.facts.chest;
    if (chest == 0 || frame.story.choiceMayBeLost) {
        return untested();
    }
    return chest > 1 ? broken(std::to_string(chest) + " badge objects on the player") : held();
}

Verdict recordedBadgeOn(RuleFrame& frame) {
    Story& story = frame.story;
    if (story.fileMayLag(frame.facts.tick)) {
        frame.window.open = false;
        return untested();
    }
    const std::optional<std::int32_t>& badge = story.recordedBadge;
    const bool recorded =
        badge && *badge >= 0 && *badge < static_cast<std::int32_t>(atlas::WEARABLE_BADGE_COUNT);
    const bool checkRuns =
        recorded && !frame.facts.control && story.looping(frame.facts) && !story.badgeInterfered;
    story.badgeInterfered = false;
    if (checkRuns && !frame.window.open) {
        frame.window.morePasses = creationsToFail(frame.facts, *badge);
    }
    if (!lasted(frame, checkRuns)) {
        return untested();
    }
    return frame.facts.chest != 1 ? broken("badge " + std::to_string(*badge) +
                                           " recorded, player control off, yet no badge on the "
                                           "player")
                                  : held();
}

Verdict wornIsRecorded(RuleFrame& frame) {
    Story& story = frame.story;
    if (story.fileMayLag(frame.facts.tick)) {
        return untested();
    }
    const bool caughtUp = !std::exchange(story.catchingUp, false);
    const std::int32_t worn = frame.facts.worn;
    // A badge knocked off to the ground, lying at the chest point's height where the player
    // stands, is taken for worn; it is not the one the player chose.
    if (frame.facts.loosebadge) {
        return untested();
    }
    if (worn == NO_BADGE_WORN || (!story.recordedBadge && story.dataKeys.empty())) {
        return untested();
    }
    if (story.recordedBadge && worn != *story.recordedBadge) {
        return broken("the player wears badge " + std::to_string(worn) +
                      " but the data file records " + std::to_string(*story.recordedBadge) +
                      (caughtUp ? "" : ", 2 s after the disk took writes again"));
    }
    return story.recordedBadge ? held()
                               : broken("the player wears badge " + std::to_string(worn) +
                                        " but the data file records none");
}

// The badge script decides at the top of its pass: a player moved meanwhile waits a pass more.
bool dutyDecided(const RuleFrame& frame) {
    return frame.story.looping(frame.facts) && !frame.story.playerMoved;
}

bool onDuty(const GameFacts& facts) {
    return facts.worn != NO_BADGE_WORN && !facts.mission;
}

// The player is in the group once the duty (or its end) has lasted the rule's wait.
Verdict groupOnceLasted(RuleFrame& frame, bool duty, std::string_view group, const char* why) {
    if (!lasted(frame, dutyDecided(frame) && onDuty(frame.facts) == duty)) {
        return untested();
    }
    return frame.facts.group != group
               ? broken(std::string(why) + ", yet the player is in " + frame.facts.group)
               : held();
}

Verdict lawOnDuty(RuleFrame& frame) {
    return groupOnceLasted(frame, true, "REL_COP", "a badge is worn");
}

Verdict plainOffDuty(RuleFrame& frame) {
    return groupOnceLasted(frame, false, "PLAYER", "no badge is worn");
}

// The off-duty reset undoes what a lawman pass set: before the first since the load, there is
// nothing of the plug-in's to undo, and what it would undo is the game's own setting.
Verdict gameSettingsKept(RuleFrame& frame) {
    Story& story = frame.story;
    const std::uint32_t undone = frame.facts.undidwanted + frame.facts.undidmute;
    const bool undid = undone > std::exchange(story.settingsUndone, undone);
    const bool mayUndo = story.dutySinceLoad;
    story.dutySinceLoad = story.dutySinceLoad || onDuty(frame.facts);
    if (mayUndo) {
        return untested();
    }
    return undid ? broken(
                       "the plug-in undid a setting of the game's own scripts (a wanted "
                       "level switched off, a ped muted), with no duty since it was loaded")
                 : held();
}

// The office sweep treats the people at an office; an office the game has not loaded reads as
// outdoors, and is no office.
Verdict sweepIndoors(RuleFrame& frame) {
    const std::uint32_t treated = frame.facts.outdoortreated;
    return treated == std::exchange(frame.story.treatedOutdoors, treated)
               ? held()
               : broken("the office sweep treated a ped outside every office room");
}

Verdict blipsComeBack(RuleFrame& frame) {
    const bool menuRuns = !hasEnded(frame.facts, "BadgeMenuScript");
    if (!lasted(frame, menuRuns && !frame.story.blipsTaken)) {
        return untested();
    }
    return frame.facts.blips < atlas::LAW_OFFICE_COUNT
               ? broken("only " + std::to_string(frame.facts.blips) + " of the " +
                        std::to_string(atlas::LAW_OFFICE_COUNT) + " office blips, a second on")
               : held();
}

// The menu script reads the player's ped as the badge script last saw it, so the prompt is
// asked for only while the badge script loops.
Verdict removePromptAtOffice(RuleFrame& frame) {
    const bool standing =
        frame.story.looping(frame.facts) && frame.facts.office != 0 && !frame.story.promptsTaken;
    if (!lasted(frame, standing)) {
        return untested();
    }
    return frame.facts.remove == 0
               ? broken("the player stands at office " + std::to_string(frame.facts.office) +
                        ", yet no REMOVE BADGE prompt a second on")
               : held();
}

// A ped may greet again after a load of the plug-in (it remembers nothing across loads) or
// when its table was full.
Verdict greetsOnce(RuleFrame& frame) {
    std::map<std::int32_t, Greeter>& greeters = frame.story.greeters;
    Verdict verdict;
    for (const FactGreeting& greeting : frame.facts.greeted) {
        Greeter& greeter = greeters[greeting.ped];
        // Where the ped stands now counts before a greeting in this frame: the forgetting step
        // may have run in it first.
        greeter.awaySince = greeter.awaySince || greeting.distance > FORGET_DISTANCE;
        if (greeting.greetings > greeter.greetings) {
            if (greeter.greetings > 0 && greeter.remembered) {
                verdict.tested = true;
                if (!greeter.awaySince) {
                    return broken("ped #" + std::to_string(greeting.ped) +
                                  " greeted again without having been more than 50 away");
                }
            }
            const auto remembered = std::count_if(
                greeters.begin(), greeters.end(),
                [](const auto& g) { return g.second.remembered && !g.second.awaySince; });
            greeter.remembered = static_cast<std::size_t>(remembered) < GREETING_TABLE_SLOTS;
            greeter.awaySince = false;
        }
        greeter.greetings = greeting.greetings;
    }
    return verdict;
}

using enum Applies;

// clang-format off
constexpr Rule RULES[] = {
    {"data-file-reads", "every line of a data file the plug-in writes reads as a `KEY=VALUE` entry",
     always, {}, dataFileReads},
    {"data-file-keeps-keys", "a data file the plug-in writes keeps every key the file held before",
     always, {}, dataFileKeepsKeys},
    {WELL_FORMED_CALLS.data(), "every native call is one the game can take: a known native, its "
     "argument count, arguments it can read (the emulated host stops the run at any other)",
     always, {}, wellFormedCalls},
    {"menu-script-runs", "the menu script never ends",
     always, {}, menuScriptRuns},
    {"badge-script-runs", "the badge script ends only when there was no data file at its start "
     "(it makes one, and ends only when it cannot)",
     always, {}, badgeScriptRuns},
    {"blips-per-office", "at most one office blip made by the running plug-in for each law office",
     always, {}, blipsPerOffice},
    {"prompts-once", "at most one door prompt, one \"Select Badge\" and one \"REMOVE BADGE\" of "
     "the running plug-in on screen",
     always, {}, promptsOnce},
    {"one-badge", "at most one badge object on the player (attached to the ped, or loose within 1 "
     "of the chest point)",
     whilePluginLoaded, {}, oneBadge},
    {"recorded-badge-on", "exactly one badge on the player once two whole badge-script passes "
     "have ended while a badge is recorded (a `badge` of the catalogue in the data file) and the "
     "player has no control (the attachment check's passes), and a pass more for each creation "
     "of its model the game will still refuse (`object create fails`)",
     whilePluginLoaded, {0, 2}, recordedBadgeOn},
    {"worn-is-recorded", "the badge worn is the one the data file records; while the folder is "
     "locked (`folder locked`) or the disk full (`disk full`) a save may fail, and a badge chosen "
     "then reaches the file within 2 s of the tick count (a pause too) of the disk taking writes "
     "again (a failed save is tried again every second), and by the end of an unload that finds "
     "the disk taking them",
     whilePluginLoaded, {}, wornIsRecorded},
    {"law-on-duty", "the player is in `REL_COP` a second and three passes after a badge goes on "
     "(the mission flag down)",
     whilePluginLoaded, {1000, 3}, lawOnDuty},
    {"plain-off-duty", "the player is in `PLAYER` two passes after the badge comes off",
     whilePluginLoaded, {0, 2}, plainOffDuty},
    {"game-settings-kept", "the plug-in never undoes a setting of the game's own scripts (the "
     "player's wanted level switched off, a ped muted) while the player has not been on duty "
     "since the plug-in was loaded (nor was left in `REL_COP` by an earlier load)",
     whilePluginLoaded, {}, gameSettingsKept},
    {"sweep-indoors", "the office sweep never treats a ped outside every office room (takes "
     "its weapons or lets it go)",
     whilePluginLoaded, {}, sweepIndoors},
    {"blips-come-back", "every office blip of the running plug-in is back a second of game time "
     "after the game took one away (or the plug-in's scripts began anew)",
     whilePluginLoaded, {1000, 0}, blipsComeBack},
    {"remove-prompt-at-office", "\"REMOVE BADGE\" is on screen once the player has stood on an "
     "office spot for a second (it is offered with or without a badge; \"Select Badge\" waits for "
     "the law's incidents, so it is not held to this)",
     whilePluginLoaded, {1000, 0}, removePromptAtOffice},
    {"greets-once", "nobody greets twice without having been more than 50 from the player in "
     "between",
     whilePluginLoaded, {}, greetsOnce},
};
// clang-format on

}  // namespace

void Window::track(bool holds, std::uint32_t now, std::int64_t passes) {
    if (holds && !open) {
        since = now;
        timeUp = false;
    }
    open = holds;
    if (open && !timeUp && now - since >= wait.ms) {
        timeUp = true;
        passesWhenTimeUp = passes;
    }
}

bool Window::lasted(std::int64_t passes) const {
    return open && timeUp && passes - passesWhenTimeUp >= wait.passEnds + morePasses;
}

bool Story::looping(const GameFacts& facts) const {
    return static_cast<std::int64_t>(facts.passes) > runStartPasses && facts.ended.empty();
}

bool Story::fileMayLag(std::uint32_t tick) const {
    return writesRefused() || choiceMayBeLost ||
           (writableSince && tick - *writableSince <= SAVED_WITHIN_MS);
}

std::span<const Rule> rules() {
    return RULES;
}
