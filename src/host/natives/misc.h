#pragma once
#include "host/native_invoker.h"

inline std::int32_t getGameTimer() {
    return invokeNative<std::int32_t>(natives::GET_GAME_TIMER);
}

// Jenkins one-at-a-time of the lower-cased text; names are hashed at each use, never cached.
inline Hash getHashKey(const char* text) {
    return invokeNative<Hash>(natives::GET_HASH_KEY, text);
}

inline bool getMissionFlag() {
    return invokeNative<bool>(natives::GET_MISSION_FLAG);
}

// Variadic in the game; the result is a game-owned text, passed on as an opaque word.
inline std::uint64_t varString(std::int32_t flags, const char* type, const char* text) {
    return invokeNative<std::uint64_t>(natives::VAR_STRING, flags, type, text);
}

// In 3D: `useZ` is passed as 1.
inline float getDistanceBetweenCoords(const Vector3& a, const Vector3& b) {
    return invokeNative<float>(natives::GET_DISTANCE_BETWEEN_COORDS, a.x, a.y, a.z, b.x, b.y, b.z,
                               true);
}

inline float vdist(const Vector3& a, const Vector3& b) {
    return invokeNative<float>(natives::VDIST, a.x, a.y, a.z, b.x, b.y, b.z);
}

// The upper bound is exclusive.
inline std::int32_t getRandomIntInRange(std::int32_t low, std::int32_t high) {
    return invokeNative<std::int32_t>(natives::GET_RANDOM_INT_IN_RANGE, low, high);
}
