#pragma once
#include "host/native_invoker.h"

// Player values that the badge script refreshes at fixed points of each pass and that the
// lawman steps and the menu script read (as they were at the badge script's last wait).
extern Vector3 anchorPosition;  // world position of the player ped's badge attachment point
extern Player playerId;
extern Ped playerPed;
extern Entity targetEntity;

// The position of the attachment point of the player's ped, asked afresh.
Vector3 badgeAnchorNow();

// First step of a pass.
void refreshAnchorPosition();
// After the edit mode: player id, ped and the targeted entity.
void refreshPlayerValues();
