#pragma once
#include "host/native_invoker.h"

inline Ped playerPedId() {
    return invokeNative<Ped>(natives::PLAYER_PED_ID);
}

// PLAYER_ID: always 0 in story mode.
inline Player currentPlayerId() {
    return invokeNative<Player>(natives::PLAYER_ID);
}

// Writes the targeted entity through the pointer; the result says whether there is one.
inline bool getPlayerTargetEntity(Player player, Entity* entity) {
    return invokeNative<bool>(natives::GET_PLAYER_TARGET_ENTITY, player, entity);
}

inline bool isPlayerControlOn(Player player) {
    return invokeNative<bool>(natives::IS_PLAYER_CONTROL_ON, player);
}

inline void setDisablePlayerWantedLevel(Player player, bool disable) {
    invokeNative(natives::SET_DISABLE_PLAYER_WANTED_LEVEL, player, disable);
}

// Reset flags last one frame, so callers set them again on every pass.
inline void setPlayerResetFlag(Player player, std::int32_t flag, bool value) {
    invokeNative(natives::SET_PLAYER_RESET_FLAG, player, flag, value);
}
