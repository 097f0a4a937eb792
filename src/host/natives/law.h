#pragma once
#include "host/native_invoker.h"

inline bool isLawIncidentActive(Player player) {
    return invokeNative<bool>(natives::IS_LAW_INCIDENT_ACTIVE, player);
}

inline void clearBounty(Player player) {
    invokeNative(natives::CLEAR_BOUNTY, player);
}

// Calls off the bounty hunters after the local player.
inline void setBountyHunterPursuitCleared() {
    invokeNative(natives::SET_BOUNTY_HUNTER_PURSUIT_CLEARED);
}
