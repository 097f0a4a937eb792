#include "plugin/badge_script.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "badge/attachment_values.h"
#include "badge/badge_attachment.h"
#include "badge/edit_mode.h"
#include "badge/stored_badge.h"
#include "game/badge_catalogue.h"
#include "game/game_time.h"
#include "game/player_state.h"
#include "host/clock.h"
#include "host/host_api.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"
#include "lawman/greeting_memory.h"
#include "lawman/greetings.h"
#include "lawman/lawman_switch.h"
#include "lawman/office_sweep.h"
#include "lawman/ped_queries.h"
#include "lawman/relationships.h"
#include "persist/data_file.h"

namespace {

constexpr DWORD START_DELAY_MS = 500;
constexpr DWORD AFTER_ATTACHMENT_CHECK_MS = 100;
constexpr DWORD OFF_DUTY_PAUSE_MS = 3000;
constexpr std::int32_t LAWMAN_BLOCK_INTERVAL_MS = 1000;
constexpr std::int32_t PLAYER_CONFIG_FLAG = 64;
constexpr float OFF_DUTY_RADIUS = 100.0f;

// What the badge script keeps from pass to pass. The host restarts the scripts at every save
// the player loads, deleting this script where it waits (nothing on its stack is freed), so
// the state is one object for the process, which each start sets to its start values.
struct BadgeScriptState {
    bool editModeOn = false;
    std::int32_t lawmanDueTime = 0;
    GreetingMemory greetings;
    std::vector<Ped> nearby;        // the peds a step collected; its room is kept from pass to pass
    GreetingSwitch greetingSwitch;  // kept across starts: a restart may cut a greeting short
    // A lawman pass has run since the off-duty reset last undid what it sets. Kept across
    // starts: a mission retried from a checkpoint restarts the scripts with the player on duty.
    bool onDutySinceReset = false;
    bool earlierLoadAsked = false;  // whether an earlier load of the plug-in left a duty to undo

    void start() {
        editModeOn = false;
        lawmanDueTime = gameTimeAfter(LAWMAN_BLOCK_INTERVAL_MS);
        greetings = {};
        nearby.clear();
    }
};

BadgeScriptState badgeScriptState;

// Undoes the player's part of the lawman pass and lets the lawmen nearby speak again.
void offDutyReset(std::vector<Ped>& nearby) {
    setDisablePlayerWantedLevel(playerId, false);
    setPedConfigFlag(playerPed, PLAYER_CONFIG_FLAG, false);
    setPedRelationshipGroupHash(playerPed, getHashKey("PLAYER"));
    collectNearbyPeds(nearby, playerPed, MAX_SCAN_CAPACITY, OFF_DUTY_RADIUS, 0, true);
    for (Ped ped : nearby) {
        setLawmanSwitch(ped, false);
    }
}

// A load of the plug-in in a running game (a script reloader) remembers no duty of the load
// before; a player that load left in "REL_COP" was on duty: the game never puts him there.
bool onDutyInEarlierLoad(BadgeScriptState& state) {
    return !std::exchange(state.earlierLoadAsked, true) &&
           getPedRelationshipGroupHash(playerPed) == getHashKey("REL_COP");
}

// The reset undoes only what a lawman pass did: the game's own scripts switch the wanted level
// off and mute people for camps and missions, and an off-duty player leaves that as it is.
void offDutyPass(BadgeScriptState& state) {
    if (std::exchange(state.onDutySinceReset, false) || onDutyInEarlierLoad(state)) {
        offDutyReset(state.nearby);
    }
    scriptWait(OFF_DUTY_PAUSE_MS);
}

void lawmanPass(BadgeScriptState& state) {
    state.onDutySinceReset = true;
    state.earlierLoadAsked = true;
    if (getGameTimer() > state.lawmanDueTime) {
        closestPedGreeting(state.greetings);
        relationshipStep();
        officeSweep();
        state.lawmanDueTime = gameTimeAfter(LAWMAN_BLOCK_INTERVAL_MS);
    }
    lawmanSwitchSweep(state.greetings, state.nearby);
    playerDutyStep();
    targetedGreeting(state.greetings, state.greetingSwitch);
}

void runPass(BadgeScriptState& state) {
    retryDueSave(tickCount());
    refreshAnchorPosition();
    bool stepsSaved = false;
    if (editToggle(state.editModeOn)) {
        stepsSaved = runEditSteps();
    }
    // While a held key saves every step the disk flush waits; it comes in the first pass
    // without a save (key released, or edit mode off).
    if (!stepsSaved) {
        flushDataFile();
    }
    refreshPlayerValues();
    // The game gates the attachment check: it runs while the player's control is off. A badge
    // the game gave no object for is tried again on every pass, or it would never come back.
    if (!isPlayerControlOn(playerId)) {
        ensureBadgeAttached();
        scriptWait(AFTER_ATTACHMENT_CHECK_MS);
    } else if (badgeCreationFailed()) {
        ensureBadgeAttached();
    }
    if (!isBadgeWorn() || getMissionFlag()) {
        offDutyPass(state);
    } else {
        lawmanPass(state);
    }
}

}  // namespace

void BadgeScript() {
    scriptWait(START_DELAY_MS);
    // Each start begins a run: the greeting tables start empty and are never saved.
    BadgeScriptState& state = badgeScriptState;
    state.start();
    switchOffLeftOn(state.greetingSwitch);
    const bool readBefore = dataFileRead();
    if (!openDataFile(setResetAttachment, [](std::uint32_t ms) { scriptWait(ms); })) {
        return;
    }
    if (!readBefore) {
        logUnusableStoredValues();
    }
    const std::int32_t index = readStoredBadgeIndex();
    if (isBadgeIndex(index)) {
        wearBadge(index);
    }
    for (;;) {
        runPass(state);
        scriptWait(0);
    }
}
