#include "lawman/greetings.h"

#include <array>
#include <vector>

#include "game/badge_catalogue.h"
#include "game/player_state.h"
#include "host/host_api.h"
#include "host/natives/audio.h"
#include "host/natives/entity.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/task.h"
#include "lawman/lawman_models.h"
#include "lawman/lawman_switch.h"
#include "lawman/ped_queries.h"
#include "persist/settings.h"

namespace {

constexpr const char* NEVER_GREETS_GROUP = "REL_GANG_DUTCHS";
constexpr float CLOSEST_BADGE_RADIUS = 0.6f;
constexpr float TARGETED_BADGE_RADIUS = 0.1f;
constexpr float GREETING_RADIUS = 5.0f;
constexpr float FORGET_DISTANCE = 50.0f;
constexpr float PATROL_RADIUS = 100.0f;
constexpr std::int32_t LINE_OF_SIGHT_TRACE = 16;
constexpr std::int32_t DRAW_LIMIT = 10000;
constexpr std::int32_t LOOK_AT_MS = 3000;
constexpr std::int32_t LOOK_AT_FLAGS = 51;
constexpr DWORD SWITCH_OFF_WAIT_MS = 1000;
constexpr DWORD HOLD_MS = 3000;
// The name's hash, written out: hashing it through the game would be a native call more.
constexpr std::uint32_t SPEECH_PARAMS_BEAT_SHOUTED_CLEAR = 0x67F3AB43;

// Positions as the forgetting step reads them: every one before anything changes.
struct GreetingPositions {
    Vector3 player;
    Vector3 candidate;
    std::array<Vector3, GREETING_SLOTS> greeted;
    std::array<Vector3, GREETING_SLOTS> passedOver;
};

Vector3 positionOf(Entity entity) {
    return getEntityCoords(entity, {.alive = false, .realCoords = false});
}

GreetingPositions readPositions(const GreetingMemory& memory, Ped candidate) {
    GreetingPositions at;
    at.player = positionOf(playerPed);
    at.candidate = positionOf(candidate);
    for (std::size_t i = 0; i < GREETING_SLOTS; ++i) {
        at.greeted[i] = positionOf(memory.greetedPeds[i].handle);
    }
    for (std::size_t i = 0; i < GREETING_SLOTS; ++i) {
        at.passedOver[i] = positionOf(memory.passedOverPeds[i].handle);
    }
    return at;
}

void forgetFarPeds(GreetingMemory& memory, const GreetingPositions& at) {
    for (std::size_t i = 0; i < GREETING_SLOTS; ++i) {
        if (vdist(at.player, at.greeted[i]) > FORGET_DISTANCE) {
            clearSlot(memory.greetedPeds[i]);
        }
    }
    for (std::size_t i = 0; i < GREETING_SLOTS; ++i) {
        if (vdist(at.player, at.passedOver[i]) > FORGET_DISTANCE) {
            clearSlot(memory.passedOverPeds[i]);
        }
    }
}

bool isNeverGreetingGroup(Hash group) {
    return group == getHashKey(NEVER_GREETS_GROUP);
}

// The tests a candidate of the closest-ped greeting passes, in the order the game is asked.
bool qualifiesForClosestGreeting(const GreetingMemory& memory, Ped candidate,
                                 const GreetingPositions& at) {
    if (!hasEntityClearLosToEntityInFront(candidate, playerPed, LINE_OF_SIGHT_TRACE)) {
        return false;
    }
    const Hash group = getPedRelationshipGroupHash(candidate);
    if (hasGreeted(memory, candidate) || isNeverGreetingGroup(group)) {
        return false;
    }
    if (isGreetExcludedForClosestGreeting(candidate) || wasPassedOver(memory, candidate)) {
        return false;
    }
    return vdist(at.player, at.candidate) < GREETING_RADIUS;
}

// Anything that keeps the candidate from greeting now; it may be drawn again next second.
bool greetingBlocked(Ped candidate) {
    return isAnySpeechPlaying(playerPed) || isPedRespondingToThreat(candidate) ||
           isPedDrunk(candidate) || isAnySpeechPlaying(candidate) ||
           getIsPedInDisputeWithPed(candidate, playerPed);
}

void switchOff(Ped ped) {
    setLawmanSwitch(ped, false);
    scriptWait(SWITCH_OFF_WAIT_MS);
}

bool qualifiesForTargetedGreeting(const GreetingMemory& memory, Ped target) {
    const Hash group = getPedRelationshipGroupHash(target);
    if (isNeverGreetingGroup(group) || hasGreeted(memory, target)) {
        return false;
    }
    return !isGreetExcludedForTargetedGreeting(target);
}

void switchOnForGreeting(Ped ped, GreetingSwitch& heldOn) {
    heldOn.ped = ped;
    setLawmanSwitch(ped, true);
}

void switchOffAfterGreeting(Ped ped, GreetingSwitch& heldOn) {
    setLawmanSwitch(ped, false);
    heldOn.ped = 0;
}

// The speaker greets first, while the lawman switch is on; the player is let finish talking.
void greetTarget(GreetingMemory& memory, Ped target, GreetingSwitch& heldOn) {
    rememberGreeting(memory, target);
    switchOnForGreeting(target, heldOn);
    while (isAnySpeechPlaying(playerPed)) {
        scriptWait(0);
    }
    speakLine(target, GREETING_LINE);
    switchOffAfterGreeting(target, heldOn);
}

void holdAfterGreeting(GreetingMemory& memory, Ped target, GreetingSwitch& heldOn) {
    if (!isEngagedByPlayer(target)) {
        return;
    }
    GreetedSlot* slot = pendingHold(memory, target);
    if (slot == nullptr) {
        return;
    }
    switchOnForGreeting(target, heldOn);
    scriptWait(HOLD_MS);
    switchOffAfterGreeting(target, heldOn);
    slot->holdPending = false;
}

}  // namespace

bool marshalBadgeNear(float radius) {
    return doesObjectOfTypeExistAtCoords(anchorPosition, radius,
                                         getHashKey(badgeCatalogue[0].modelName));
}

// The speaking ped goes in the slot the game names the listener's.
void speakLine(Ped ped, const char* line) {
    SpeechRecord record{};
    record.speechName = reinterpret_cast<std::uintptr_t>(line);
    record.voiceName = 0;
    record.variation = 1;
    record.speechParams = SPEECH_PARAMS_BEAT_SHOUTED_CLEAR;
    record.listenerPed = static_cast<std::uint32_t>(ped);
    record.syncOverNetwork = 1;
    record.v7 = 1;
    playPedAmbientSpeechNative(ped, &record);
}

bool isEngagedByPlayer(Ped ped) {
    return getIsPedRespondingToPositiveInteraction(ped, playerId);
}

void closestPedGreeting(GreetingMemory& memory) {
    if (!marshalBadgeNear(CLOSEST_BADGE_RADIUS) || !settings.greetingEnabled) {
        return;
    }
    const Ped candidate = closestPed(playerPed, GREETING_RADIUS);
    const GreetingPositions at = readPositions(memory, candidate);
    forgetFarPeds(memory, at);
    if (candidate == 0 || !qualifiesForClosestGreeting(memory, candidate, at)) {
        return;
    }
    if (getRandomIntInRange(0, DRAW_LIMIT) > settings.greetingChanceThreshold) {
        rememberPassedOver(memory, candidate);
        return;
    }
    if (greetingBlocked(candidate)) {
        return;
    }
    taskLookAtEntity(candidate, playerPed, LOOK_AT_MS, LOOK_AT_FLAGS);
    speakLine(candidate, GREETING_LINE);
    rememberGreeting(memory, candidate);
}

// The list is the caller's own: the other script may scan while this one waits.
void lawmanSwitchSweep(const GreetingMemory& memory, std::vector<Ped>& peds) {
    collectNearbyPeds(peds, playerPed, MAX_SCAN_CAPACITY, PATROL_RADIUS, 0, true);
    for (const Ped ped : peds) {
        if (!hasAnyModel(ped, patrolLawmanModels)) {
            continue;
        }
        if (isEngagedByPlayer(ped) &&
            (greetedAndHeld(memory, ped) || hasAnyModel(ped, switchOffLawmanModels))) {
            switchOff(ped);
            continue;
        }
        if (!isEngagedByPlayer(ped) || settings.greetingEnabled) {
            setLawmanSwitch(ped, true);
        } else {
            switchOff(ped);
        }
    }
}

void targetedGreeting(GreetingMemory& memory, GreetingSwitch& heldOn) {
    if (!settings.greetingEnabled || !marshalBadgeNear(TARGETED_BADGE_RADIUS)) {
        return;
    }
    const Ped target = targetEntity;
    if (isEngagedByPlayer(target) && qualifiesForTargetedGreeting(memory, target)) {
        greetTarget(memory, target, heldOn);
    }
    holdAfterGreeting(memory, target, heldOn);
}

void switchOffLeftOn(GreetingSwitch& heldOn) {
    if (heldOn.ped != 0) {
        switchOffAfterGreeting(heldOn.ped, heldOn);
    }
}
