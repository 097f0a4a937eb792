#pragma once
#include "host/native_invoker.h"

// 0 unlocked, 1 locked; other values are the game's other door states.
inline std::int32_t doorSystemGetDoorState(Hash door) {
    return invokeNative<std::int32_t>(natives::DOOR_SYSTEM_GET_DOOR_STATE, door);
}

inline void doorSystemSetDoorState(Hash door, std::int32_t state) {
    invokeNative(natives::DOOR_SYSTEM_SET_DOOR_STATE, door, state);
}

inline bool isDoorClosed(Hash door) {
    return invokeNative<bool>(natives::IS_DOOR_CLOSED, door);
}

// Every flag and number is passed as 1.
inline void addDoorToSystemNew(Hash door) {
    invokeNative(natives::ADD_DOOR_TO_SYSTEM_NEW, door, true, true, true, 1, 1, true);
}
