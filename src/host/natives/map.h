#pragma once
#include "host/native_invoker.h"

inline bool doesBlipExist(Blip blip) {
    return invokeNative<bool>(natives::DOES_BLIP_EXIST, blip);
}

// The first argument is a blip style hash, not a sprite.
inline Blip blipAddForCoords(Hash style, const Vector3& at) {
    return invokeNative<Blip>(natives::BLIP_ADD_FOR_COORDS, style, at.x, at.y, at.z);
}

// The flag, unnamed in the native database, is passed as 1.
inline void setBlipSprite(Blip blip, Hash sprite) {
    invokeNative(natives::SET_BLIP_SPRITE, blip, sprite, true);
}

// The result (a BOOL) says nothing the plug-in needs.
inline void blipAddModifier(Blip blip, Hash modifier) {
    invokeNative(natives::BLIP_ADD_MODIFIER, blip, modifier);
}
