#pragma once
#include "host/native_invoker.h"

// Interior ids: 0 outdoors (or where the game has not loaded the interior).
inline std::int32_t getInteriorFromEntity(Entity entity) {
    return invokeNative<std::int32_t>(natives::GET_INTERIOR_FROM_ENTITY, entity);
}

inline std::int32_t getInteriorAtCoords(const Vector3& at) {
    return invokeNative<std::int32_t>(natives::GET_INTERIOR_AT_COORDS, at.x, at.y, at.z);
}
