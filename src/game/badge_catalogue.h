#pragma once
#include <cstdint>
#include <iterator>

#include "host/native_invoker.h"

// The badges a player can wear, indexed by the data file's `badge` value.
struct BadgeModel {
    const char* modelName;
    float rotXAdjust;  // degrees added to the stored x rotation when attaching, never stored
};

// clang-format off
constexpr BadgeModel badgeCatalogue[] = {
    {"s_badgeusmarshal01x",   0.0f},
    {"s_badgesherif01x",      0.0f},
    {"s_badgepinkerton01x",   0.0f},
    {"s_badgepolice01x",      0.0f},
    {"p_deputybadge01x",     90.0f},
    {"s_badgedeputy01x",    180.0f},
};
// clang-format on
constexpr std::int32_t BADGE_COUNT = static_cast<std::int32_t>(std::size(badgeCatalogue));

// The marshal's and the sheriff's models as the removal search passes them: their name hashes,
// written out.
constexpr Hash MARSHAL_BADGE_MODEL_HASH = 0x215299EB;  // s_badgeusmarshal01x
constexpr Hash SHERIFF_BADGE_MODEL_HASH = 0xB8EB9CA8;  // s_badgesherif01x

// Never worn, but taken off with the others: the game's own marshal badge prop.
constexpr const char* MARSHAL_DAVIES_BADGE = "cs_mp_marshall_davies_ms1_badge_000";

// The point of the player's ped that the badge hangs on.
constexpr std::int32_t BADGE_BONE_INDEX = 511;

// Around the attachment point: a badge found within this is worn...
constexpr float WORN_RADIUS = 0.6f;
// ...and one within this is still in place.
constexpr float IN_PLACE_RADIUS = 0.1f;
// The narrower search of the menu's removal and of one edit step.
constexpr float NARROW_RADIUS = 0.3f;
// A search for a badge hanging beyond these radii reaches this far past its offset.
constexpr float SEARCH_MARGIN = 0.1f;

// The data file's `badge` value after "REMOVE BADGE": outside the catalogue, so no badge.
constexpr std::int32_t NO_BADGE_INDEX = 7;

constexpr bool isBadgeIndex(std::int32_t index) {
    return index >= 0 && index < BADGE_COUNT;
}
