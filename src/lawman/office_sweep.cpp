#include "lawman/office_sweep.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "game/player_state.h"
#include "host/natives/door.h"
#include "host/natives/entity.h"
#include "host/natives/interior.h"
#include "host/natives/misc.h"
#include "host/natives/ped.h"
#include "host/natives/task.h"
#include "host/natives/weapon.h"
#include "lawman/lawman_models.h"
#include "lawman/office_doors.h"
#include "lawman/office_places.h"
#include "lawman/ped_queries.h"

namespace {

constexpr float SWEEP_RADIUS = 100.0f;
constexpr std::int32_t CIVILIAN_PED_FLAG = 44;
constexpr std::int32_t PAUSE_MS = 2000;
constexpr std::int32_t COMBAT_ACTION = 0;
constexpr float ROAD_MOVE_BLEND = 2.0f;

using OfficePlaces = std::array<std::int32_t, LAW_OFFICE_COUNT>;
using DoorStates = std::array<std::int32_t, SWEEP_DOOR_COUNT>;

// Where the sweep reads the door's state among its others; SWEEP_DOOR_COUNT for a door it does
// not read.
constexpr std::size_t sweepPlaceOf(Hash door) {
    std::size_t place = 0;
    while (place < SWEEP_DOOR_COUNT && officeSweepDoors[place] != door) {
        ++place;
    }
    return place;
}

// The doors whose states the sweep reads are the office doors, each once...
constexpr bool sweepReadsEachOfficeDoor() {
    std::array<bool, SWEEP_DOOR_COUNT> read{};
    for (const OfficeDoor& door : officeDoors) {
        const std::size_t place = sweepPlaceOf(door.door);
        if (place == SWEEP_DOOR_COUNT || read[place]) {
            return false;
        }
        read[place] = true;
    }
    return OFFICE_DOOR_COUNT == SWEEP_DOOR_COUNT;
}
static_assert(sweepReadsEachOfficeDoor(), "officeSweepDoors must hold each of officeDoors once");

// ...and among them is every door a box's condition names, so a box never asks for a state
// the sweep did not read.
constexpr bool sweepReadsEveryBoxDoor() {
    for (const DoorBox& box : doorBoxes) {
        for (const Hash door :
             {box.condition.either, box.condition.both[0], box.condition.both[1]}) {
            if (door != 0 && sweepPlaceOf(door) == SWEEP_DOOR_COUNT) {
                return false;
            }
        }
    }
    return true;
}
static_assert(sweepReadsEveryBoxDoor(), "a door box names a door that officeSweepDoors lacks");

OfficePlaces readOfficePlaces() {
    OfficePlaces places{};
    for (std::size_t k = 0; k < LAW_OFFICE_COUNT; ++k) {
        places[k] = getInteriorAtCoords(officeProbePoints[k]);
    }
    return places;
}

// An office whose interior reads 0 (one the game has not loaded) is no office for the pass:
// 0 is every place outdoors, and the sweep would hold the whole street as in that office.
bool isOfficePlace(const OfficePlaces& offices, std::int32_t place) {
    return place != 0 && std::find(offices.begin(), offices.end(), place) != offices.end();
}

DoorStates readDoorStates() {
    DoorStates states{};
    for (std::size_t i = 0; i < SWEEP_DOOR_COUNT; ++i) {
        states[i] = doorSystemGetDoorState(officeSweepDoors[i]);
    }
    return states;
}

bool doorLocked(const DoorStates& states, Hash door) {
    return states[sweepPlaceOf(door)] != 0;
}

bool conditionHolds(const DoorCondition& condition, const DoorStates& states) {
    if (condition.either != 0 && doorLocked(states, condition.either)) {
        return true;
    }
    return condition.both[0] != 0 && doorLocked(states, condition.both[0]) &&
           doorLocked(states, condition.both[1]);
}

// A box that holds the ped but whose doors are open does not end the search.
bool heldByADoor(Ped ped, const DoorStates& states) {
    for (const DoorBox& box : doorBoxes) {
        if (isEntityAtCoord(ped, box.centre, box.halfSize,
                            {box.highlight, box.do3dCheck, box.transportMode}) &&
            conditionHolds(box.condition, states)) {
            return true;
        }
    }
    return false;
}

void civilianTreatment(Ped ped) {
    setPedConfigFlag(ped, CIVILIAN_PED_FLAG, true);
    removeAllPedWeapons(ped);
    setEntityAsMissionEntity(ped);
    setPedRelationshipGroupHash(ped, getHashKey("REL_CIVMALE"));
    taskPause(ped, PAUSE_MS);
    setPedActionDisableFlag(ped, COMBAT_ACTION);
    if (isEntityDead(ped)) {
        Ped handle = ped;
        setPedAsNoLongerNeeded(&handle);
    }
}

// The game clears the variable it is given, and the calls after it take the variable as it
// then stands.
void freeForAllTreatment(Ped ped) {
    Ped handle = ped;
    setPedAsNoLongerNeeded(&handle);
    setPedRelationshipGroupHash(handle, getHashKey("REL_GT_FFA"));
    setPedConfigFlag(handle, CIVILIAN_PED_FLAG, false);
    taskMoveFollowRoadUsingNavmesh(handle, ROAD_MOVE_BLEND, Vector3{});
}

void sortPed(Ped ped) {
    const std::int32_t playerPlace = getInteriorFromEntity(playerPed);
    const std::int32_t pedPlace = getInteriorFromEntity(ped);
    const OfficePlaces offices = readOfficePlaces();
    if (isLawman(ped)) {
        return;
    }
    const bool atOffice = isOfficePlace(offices, pedPlace);
    if (atOffice) {
        const DoorStates doors = readDoorStates();
        const bool held = isOfficePlace(offices, playerPlace) || heldByADoor(ped, doors);
        if (held) {
            civilianTreatment(ped);
        } else {
            freeForAllTreatment(ped);
        }
    }
    if (isPedInCombat(ped, playerPed) && !atOffice) {
        setPedRelationshipGroupHash(ped, getHashKey("REL_GT_FFA"));
    }
}

}  // namespace

void officeSweep() {
    const std::vector<Ped> peds =
        collectNearbyPeds(playerPed, MAX_SCAN_CAPACITY, SWEEP_RADIUS, 0, true);
    for (const Ped ped : peds) {
        sortPed(ped);
    }
}
