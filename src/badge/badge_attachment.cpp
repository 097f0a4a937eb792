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

// What the operations have learnt of the game's badges, for the process (no handle is kept).
struct PutOnMemory {
    bool sinceCheck = false;      // a badge was put on; no check has found it in place since
    bool offBoneSeen = false;     // such a badge was found near the point, not in place
    bool creationFailed = false;  // the last creation gave no object
};
PutOnMemory putOn;

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

// The game may report an attached badge some way off its bone. A badge put on since the last
// check and not found in place is looked for as far as the worn radius; found there, every
// later check looks that far too, so that no further badge is added pass after pass. One
// reported right at the in-place radius is found in place at one spot and heading of the
// player and a rounding error outside at the next: found within that error, it is off its
// bone too.
bool hangsOffBone(const Vector3& point, Hash model, float reach) {
    const bool offBone =
        putOn.sinceCheck || putOn.offBoneSeen
            ? badgeModelAt(point, WORN_RADIUS, model, reach)
            : doesObjectOfTypeExistAtCoords(point, IN_PLACE_RADIUS + ROUNDING_ROOM, model);
    putOn.offBoneSeen = putOn.offBoneSeen || offBone;
    return offBone;
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

// A creation may give no object (0), as for a model the game has not loaded; it is attached all
// the same, and the badge script tries again (badgeCreationFailed).
void attachBadge(std::int32_t index, const Vector3& creationPoint, const Attachment& stored) {
    const Object badge = createObject(badgeModelHash(index), creationPoint);
    putOn.creationFailed = badge == 0;
    putOn.sinceCheck = badge != 0;
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

// A badge already there (an earlier run's) counts as one just put on: the next check looks for
// it as for one it made.
void wearBadge(std::int32_t index) {
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    if (badgeModelAt(anchor, WORN_RADIUS, badgeModelHash(index), offsetLength(stored))) {
        putOn.sinceCheck = true;
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

bool badgeCreationFailed() {
    return putOn.creationFailed;
}

// A badge of the chosen model still in place stops the re-creation, also one the player has
// moved farther out than the in-place radius, or one the game reports off its bone.
void ensureBadgeAttached() {
    const std::int32_t index = readStoredBadgeIndex();
    if (!isBadgeIndex(index)) {
        putOn.creationFailed = false;  // no badge is owed
        return;
    }
    const Vector3 anchor = badgeAnchorNow();
    const Attachment stored = readStoredAttachment();
    const Hash model = badgeModelHash(index);
    const float reach = offsetLength(stored);
    if (badgeModelAt(anchor, IN_PLACE_RADIUS, model, reach) || hangsOffBone(anchor, model, reach)) {
        putOn.sinceCheck = false;
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
