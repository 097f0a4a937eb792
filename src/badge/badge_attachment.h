#pragma once
#include <cstdint>

#include "host/natives/entity.h"

// The operations that put badge objects on the player, find them and take them off. No handle
// is kept between them: badges are found again by model near the attachment point.
//
// Every search first runs with its own radius. A badge hangs as far from the attachment point
// as its stored offset reaches (the `reach` below), so when that search finds nothing and the
// badge can hang outside its radius, it looks once more, within SEARCH_MARGIN past the reach:
// a badge moved far out is still found, never doubled, and still taken off.

// An object of any catalogue model lies within the worn radius of `anchorPosition`.
bool isBadgeWorn();

// The first catalogue index (0 to 5) of a badge object within the worn radius of the point,
// or -1.
std::int32_t firstBadgeAt(const Vector3& point, float reach);

// Start-up: puts badge `index` on unless one of its model is already there.
void wearBadge(std::int32_t index);

// Puts the game's own badge clothing item on the player's ped.
void applyBadgeOutfit();

// Once a pass while the player's control is off: puts the chosen badge back when the game has
// taken it away.
void ensureBadgeAttached();

// The last badge creation gave no object: the badge script calls ensureBadgeAttached on its
// next passes, whatever the player's control, until one is made.
bool badgeCreationFailed();

// The closest object of the model within the radius of the centre, or 0.
Object closestBadgeObject(const Vector3& centre, float radius, Hash model, float reach);

// Deletes the closest object of each badge model (and the game's marshal badge prop) around
// the centre; the sheriff badge is looked for within its own radius.
void removeBadgeObjects(const Vector3& centre, float searchRadius, float secondModelRadius,
                        float reach);

// After an edit: attaches the chosen badge again from the stored values.
void recreateBadge();

// Creates badge `index` at the point and attaches it to the player's ped with the stored
// offset and rotation (plus the model's own rotation adjustment).
void attachBadge(std::int32_t index, const Vector3& creationPoint, const Attachment& stored);
