#include "lawman/relationships.h"

#include <cstdint>

#include "game/player_state.h"
#include "host/natives/law.h"
#include "host/natives/misc.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

constexpr std::int32_t LAWMAN_PED_FLAG = 64;

struct RelationshipRow {
    std::int32_t value;
    const char* groupA;  // holds the value towards group B
    const char* groupB;
};

// In the order they are set; repeats are set again each time. "REL_GUARD_BRONTE" gets a value
// towards "REL_COP" only.
// clang-format off
constexpr RelationshipRow RELATIONSHIP_ROWS[] = {
    {0, "REL_COP",           "REL_COP"},
    {0, "REL_COP",           "REL_COP"},
    {0, "REL_TOWN_MOB",      "REL_COP"},
    {0, "REL_COP",           "REL_TOWN_MOB"},
    {0, "REL_CIVMALE",       "REL_COP"},
    {0, "REL_COP",           "REL_CIVMALE"},
    {0, "REL_CIVFEMALE",     "REL_COP"},
    {0, "REL_COP",           "REL_CIVFEMALE"},
    {0, "REL_GUARD_ASB",     "REL_COP"},
    {0, "REL_GUARD_BRONTE",  "REL_COP"},
    {0, "REL_BOUNTY_HUNTER", "REL_COP"},
    {6, "REL_PLAYER_ENEMY",  "REL_COP"},
    {6, "REL_COP",           "REL_PLAYER_ENEMY"},
    {0, "REL_BOUNTY_HUNTER", "REL_COP"},
    {0, "REL_COP",           "REL_BOUNTY_HUNTER"},
    {0, "REL_GUARD_ASB",     "REL_COP"},
    {0, "REL_COP",           "REL_GUARD_ASB"},
    {0, "REL_PINKERTONS",    "REL_COP"},
    {0, "REL_COP",           "REL_PINKERTONS"},
};
// clang-format on

}  // namespace

void relationshipStep() {
    setPedConfigFlag(playerPed, LAWMAN_PED_FLAG, true);
    setPedRelationshipGroupHash(playerPed, getHashKey("REL_COP"));
    for (const RelationshipRow& row : RELATIONSHIP_ROWS) {
        // Named one after the other: the game sees group A hashed before group B.
        const Hash groupA = getHashKey(row.groupA);
        const Hash groupB = getHashKey(row.groupB);
        setRelationshipBetweenGroups(row.value, groupA, groupB);
    }
}

void playerDutyStep() {
    clearBounty(playerId);
    setDisablePlayerWantedLevel(playerId, true);
    setBountyHunterPursuitCleared();
}
