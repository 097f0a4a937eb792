#pragma once
#include <cstdint>

#include "host/natives/entity.h"

// The operations that put badge objects on the player, find them and take them off. No handle
// is kept between them: badges are found again by model near the attachment point.

// An object of any catalogue model lies within the worn radius of `anchorPosition`.
bool isBadgeWorn();

// Start-up: puts badge `index` on unless one of its model is already there.
void wearBadge(std::int32_t index);

// Puts the game's own badge clothing item on the player's ped.
void applyBadgeOutfit();

// Once a pass: puts the chosen badge back when the game has taken it away.
void ensureBadgeAttached();

// Deletes the closest object of each badge model (and the game's marshal badge prop) around
// the centre; the sheriff badge is looked for within its own radius.
void removeBadgeObjects(const Vector3& centre, float searchRadius, float secondModelRadius);

// After an edit: attaches the chosen badge again from the stored values.
void recreateBadge();

// Creates badge `index` at the point and attaches it to the player's ped with the stored
// offset and rotation (plus the model's own rotation adjustment).
void attachBadge(std::int32_t index, const Vector3& creationPoint, const Attachment& stored);
