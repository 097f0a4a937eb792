#include "badge/badge_attachment.h"

#include <cmath>
#include <iterator>

#include "badge/badge_catalogue.h"
#include "badge/player_state.h"
#include "badge/stored_badge.h"
#include "host/natives/misc.h"
#include "host/natives/object.h"
#include "host/natives/ped.h"
#include "host/natives/player.h"

namespace {

struct RemovalSearch {
    const char* modelName;  // hashed at each use; null: the ready-made hash below
    Hash modelHash;
    bool usesSecondRadius;
};

// The order of the searches and of the deletions.
// clang-format off
constexpr RemovalSearch REMOVAL_SEARCHES[] = {
    {nullptr,                0x215299EB, false},  // s_badgeusmarshal01x
    {nullptr,                0xB8EB9CA8, true},   // s_badgesherif01x
    {"s_badgepinkerton01x",  0,          false},
    {"s_badgepolice01x",     0,          false},
    {"p_deputybadge01x",     0,          false},
    {MARSHAL_DAVIES_BADGE,   0,          false},
    {"s_badgedeputy01x",     0,          false},
};
// clang-format on

Hash badgeModelHash(std::int32_t index) {
    return getHashKey(badgeCatalogue[index].modelName);
}

float length(const Vector3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

}  // namespace

void attachBadge(std::int32_t index, const Vector3& creationPoint, const Attachment& stored) {
    const Object badge = createObject(badgeModelHash(index), creationPoint);
    const Ped ped = playerPedId();
    Attachment at = stored;
    at.rotation.x += badgeCatalogue[index].rotXAdjust;
    attachEntityToEntity(badge, ped, BADGE_BONE_INDEX, at);
}

bool isBadgeWorn() {
    for (std::int32_t index = 0; index < BADGE_COUNT; ++index) {
        if (doesObjectOfTypeExistAtCoords(anchorPosition, WORN_RADIUS, badgeModelHash(index))) {
            return true;
        }
    }
    return false;
}

void wearBadge(std::int32_t index) {
    const Vector3 anchor = badgeAnchorNow();
    if (doesObjectOfTypeExistAtCoords(anchor, WORN_RADIUS, badgeModelHash(index))) {
        return;
    }
    attachBadge(index, anchor, readStoredAttachment());
    applyBadgeOutfit();
}

void applyBadgeOutfit() {
    MetaPedTag tag;
    tag.material = getHashKey("0x164B178F");
    tag.normal = getHashKey("PLAYER_ZERO_BADGE_000_C0_000_NM");
    tag.albedo = getHashKey("PLAYER_ZERO_BADGE_000_C0_000_AB");
    tag.drawable = getHashKey("PLAYER_ZERO_BADGE_000");
    setMetaPedTag(playerPedId(), tag);
    updatePedVariation(playerPedId());
}

// The attached badge sits as far from the attachment point as its stored offset reaches, so
// the search reaches that far too: a badge still attached is never doubled, however far out
// the player has moved it, and one the game removed is put back on the same pass.
void ensureBadgeAttached() {
    const std::int32_t index = readStoredBadgeIndex();
    if (!isBadgeIndex(index)) {
        return;
    }
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    const float searchRadius = IN_PLACE_RADIUS + length(stored.offset);
    if (doesObjectOfTypeExistAtCoords(anchor, searchRadius, badgeModelHash(index))) {
        return;
    }
    attachBadge(index, anchor, stored);
}

void removeBadgeObjects(const Vector3& centre, float searchRadius, float secondModelRadius) {
    Object found[std::size(REMOVAL_SEARCHES)] = {};
    for (std::size_t i = 0; i < std::size(REMOVAL_SEARCHES); ++i) {
        const RemovalSearch& search = REMOVAL_SEARCHES[i];
        const Hash model = search.modelName ? getHashKey(search.modelName) : search.modelHash;
        const float radius = search.usesSecondRadius ? secondModelRadius : searchRadius;
        found[i] = getClosestObjectOfType(centre, radius, model);
    }
    for (Object& object : found) {
        deleteObject(&object);
    }
}

// The stored offset doubles as the creation point: the badge is attached before the script
// next waits, so it is never seen there.
void recreateBadge() {
    const Attachment stored = readStoredAttachment();
    const std::int32_t index = readStoredBadgeIndex();
    if (!isBadgeIndex(index)) {
        return;
    }
    attachBadge(index, stored.offset, stored);
}
