#include "game/player_state.h"

#include "game/badge_catalogue.h"
#include "host/natives/entity.h"
#include "host/natives/player.h"

Vector3 anchorPosition;
Player playerId = 0;
Ped playerPed = 0;
Entity targetEntity = 0;

Vector3 badgeAnchorNow() {
    const Ped ped = playerPedId();
    return getWorldPositionOfEntityBone(ped, BADGE_BONE_INDEX);
}

void refreshAnchorPosition() {
    anchorPosition = badgeAnchorNow();
}

void refreshPlayerValues() {
    playerId = currentPlayerId();
    playerPed = playerPedId();
    getPlayerTargetEntity(playerId, &targetEntity);
}
