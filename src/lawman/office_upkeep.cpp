#include "lawman/office_upkeep.h"

#include <array>

#include "game/player_state.h"
#include "game/prompts.h"
#include "host/natives/door.h"
#include "host/natives/entity.h"
#include "host/natives/hud.h"
#include "host/natives/map.h"
#include "host/natives/misc.h"
#include "lawman/office_doors.h"

namespace {

constexpr Hash BLIP_STYLE = 0xEC972124;
constexpr std::int32_t LOCKED = 1;
constexpr std::int32_t UNLOCKED = 0;

// The rows in the toggle's order, from each row's place in it.
constexpr std::array<std::size_t, OFFICE_DOOR_COUNT> toggleOrder() {
    std::array<std::size_t, OFFICE_DOOR_COUNT> order{};
    for (std::size_t row = 0; row < OFFICE_DOOR_COUNT; ++row) {
        order[officeDoors[row].togglePosition - 1] = row;
    }
    return order;
}
constexpr std::array<std::size_t, OFFICE_DOOR_COUNT> TOGGLE_ORDER = toggleOrder();

bool atDoorForPrompt(const OfficeDoor& door) {
    return isEntityAtCoord(
        playerPed, door.spot, door.promptHalfSize,
        {.highlight = false, .do3dCheck = door.promptDo3dCheck, .transportMode = 0});
}

bool atDoorForToggle(const OfficeDoor& door) {
    return isEntityAtCoord(playerPed, door.spot, door.toggleHalfSize, FLAT_BOX_TEST);
}

const OfficeDoor* doorForPrompt() {
    for (const OfficeDoor& door : officeDoors) {
        if (atDoorForPrompt(door)) {
            return &door;
        }
    }
    return nullptr;
}

const OfficeDoor* doorForToggle() {
    for (const std::size_t row : TOGGLE_ORDER) {
        if (atDoorForToggle(officeDoors[row])) {
            return &officeDoors[row];
        }
    }
    return nullptr;
}

void makeOfficeBlip(Blip& blip, const Vector3& office) {
    blip = blipAddForCoords(BLIP_STYLE, office);
    setBlipSprite(blip, getHashKey("blip_ambient_sheriff"));
    blipAddModifier(blip, getHashKey("BLIP_MODIFIER_RADAR_EDGE_PAUSE_MAP_NEVER"));
}

}  // namespace

void forcedDoorUnlock() {
    for (const Hash door : alwaysUnlockedDoors) {
        doorSystemSetDoorState(door, UNLOCKED);
    }
}

void doorSetUp() {
    for (const Hash door : setUpDoors) {
        addDoorToSystemNew(door);
    }
}

// Anything but locked counts as unlocked, so a toggle always ends at 0 or 1. A toggle with the
// player off every door spot changes nothing and leaves the prompt.
void doorToggle(Prompt& lockPrompt) {
    const OfficeDoor* door = doorForToggle();
    if (door == nullptr) {
        return;
    }
    const std::int32_t state = doorSystemGetDoorState(door->door);
    doorSystemSetDoorState(door->door, state == LOCKED ? UNLOCKED : LOCKED);
    uiPromptDelete(lockPrompt);
}

void blipUpkeep(OfficeBlips& officeBlips) {
    for (std::size_t office = 0; office < LAW_OFFICE_COUNT; ++office) {
        if (!doesBlipExist(officeBlips[office])) {
            makeOfficeBlip(officeBlips[office], lawOffices[office]);
        }
    }
}

// A locked door the game reports open is locked again; the label is fixed when the prompt is
// built and changes only through the delete after a toggle.
void doorPromptUpkeep(Prompt& lockPrompt) {
    const OfficeDoor* door = doorForPrompt();
    if (door == nullptr) {
        uiPromptDelete(lockPrompt);
        return;
    }
    const std::int32_t state = doorSystemGetDoorState(door->door);
    if (state == LOCKED && !isDoorClosed(door->door)) {
        doorSystemSetDoorState(door->door, LOCKED);
    }
    if (uiPromptIsEnabled(lockPrompt)) {
        return;
    }
    buildPrompt(lockPrompt, "INPUT_JUMP", state == LOCKED ? "Unlock" : "Lock",
                door->promptPriority);
}
