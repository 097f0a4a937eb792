#include "badge/badge_attachment.h"

#include <iterator>

#include "badge/attachment_values.h"
#include "badge/stored_badge.h"
#include "game/badge_catalogue.h"
#include "game/player_state.h"
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
    {nullptr,                MARSHAL_BADGE_MODEL_HASH, false},
    {nullptr,                SHERIFF_BADGE_MODEL_HASH, true},
    {"s_badgepinkerton01x",  0,                        false},
    {"s_badgepolice01x",     0,                        false},
    {"p_deputybadge01x",     0,                        false},
    {MARSHAL_DAVIES_BADGE,   0,                        false},
    {"s_badgedeputy01x",     0,                        false},
};
// clang-format on

Hash badgeModelHash(std::int32_t index) {
    return getHashKey(badgeCatalogue[index].modelName);
}

// A badge hung exactly at the search radius can land a rounding error outside it once the
// ped's heading turns its offset.
constexpr float ROUNDING_ROOM = 0.001f;

// The radius of a second search after one within `radius` found nothing, or 0 when a badge
// `reach` from the point cannot hang outside it (then the first search was the only one).
float secondSearchRadius(float radius, float reach) {
    return reach > radius - ROUNDING_ROOM ? SEARCH_MARGIN + reach : 0.0f;
}

bool badgeModelAt(const Vector3& point, float radius, Hash model, float reach) {
    if (doesObjectOfTypeExistAtCoords(point, radius, model)) {
        return true;
    }
    const float wider = secondSearchRadius(radius, reach);
    return wider > 0.0f && doesObjectOfTypeExistAtCoords(point, wider, model);
}

std::int32_t firstBadgeWithin(const Vector3& point, float radius) {
    for (std::int32_t index = 0; index < BADGE_COUNT; ++index) {
        if (doesObjectOfTypeExistAtCoords(point, radius, badgeModelHash(index))) {
            return index;
        }
    }
    return -1;
}

}  // namespace

void attachBadge(std::int32_t index, const Vector3& creationPoint, const Attachment& stored) {
    const Object badge = createObject(badgeModelHash(index), creationPoint);
    const Ped ped = playerPedId();
    Attachment at = stored;
    at.rotation.x += badgeCatalogue[index].rotXAdjust;
    attachEntityToEntity(badge, ped, BADGE_BONE_INDEX, at);
}

std::int32_t firstBadgeAt(const Vector3& point, float reach) {
    const std::int32_t index = firstBadgeWithin(point, WORN_RADIUS);
    const float wider = secondSearchRadius(WORN_RADIUS, reach);
    return index >= 0 || wider == 0.0f ? index : firstBadgeWithin(point, wider);
}

bool isBadgeWorn() {
    return firstBadgeAt(anchorPosition, offsetLength(readStoredAttachment())) >= 0;
}

void wearBadge(std::int32_t index) {
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    if (badgeModelAt(anchor, WORN_RADIUS, badgeModelHash(index), offsetLength(stored))) {
        return;
    }
    attachBadge(index, anchor, stored);
    applyBadgeOutfit();
}

void applyBadgeOutfit() {
    MetaPedTag tag;
    // The text is hashed as a name on purpose: the game gets hash("0x164B178F"), 0x51A85746,
    // not the number the text spells.
    tag.material = getHashKey("0x164B178F");
    tag.normal = getHashKey("PLAYER_ZERO_BADGE_000_C0_000_NM");
    tag.albedo = getHashKey("PLAYER_ZERO_BADGE_000_C0_000_AB");
    tag.drawable = getHashKey("PLAYER_ZERO_BADGE_000");
    setMetaPedTag(playerPedId(), tag);
    updatePedVariation(playerPedId());
}

// A badge of the chosen model still in place stops the re-creation, also one the player has
// moved farther out than the in-place radius.
void ensureBadgeAttached() {
    const std::int32_t index = readStoredBadgeIndex();
    if (!isBadgeIndex(index)) {
        return;
    }
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    if (badgeModelAt(anchor, IN_PLACE_RADIUS, badgeModelHash(index), offsetLength(stored))) {
        return;
    }
    attachBadge(index, anchor, stored);
}

Object closestBadgeObject(const Vector3& centre, float radius, Hash model, float reach) {
    const Object found = getClosestObjectOfType(centre, radius, model);
    const float wider = secondSearchRadius(radius, reach);
    return found != 0 || wider == 0.0f ? found : getClosestObjectOfType(centre, wider, model);
}

void removeBadgeObjects(const Vector3& centre, float searchRadius, float secondModelRadius,
                        float reach) {
    Object found[std::size(REMOVAL_SEARCHES)] = {};
    for (std::size_t i = 0; i < std::size(REMOVAL_SEARCHES); ++i) {
        const RemovalSearch& search = REMOVAL_SEARCHES[i];
        const Hash model = search.modelName ? getHashKey(search.modelName) : search.modelHash;
        const float radius = search.usesSecondRadius ? secondModelRadius : searchRadius;
        found[i] = closestBadgeObject(centre, radius, model, reach);
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
