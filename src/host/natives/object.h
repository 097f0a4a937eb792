#pragma once
#include "host/native_invoker.h"

// An existence test only: it gives no handle.
inline bool doesObjectOfTypeExistAtCoords(const Vector3& at, float radius, Hash model) {
    return invokeNative<bool>(natives::DOES_OBJECT_OF_TYPE_EXIST_AT_COORDS, at.x, at.y, at.z,
                              radius, model, false);
}

// Created as a script-host, dynamic, non-networked object.
inline Object createObject(Hash model, const Vector3& at) {
    return invokeNative<Object>(natives::CREATE_OBJECT, model, at.x, at.y, at.z, false, true, true,
                                false, false);
}

// The three flags exclude kinds of objects; all off returns any object, script-made ones too.
inline Object getClosestObjectOfType(const Vector3& at, float radius, Hash model) {
    return invokeNative<Object>(natives::GET_CLOSEST_OBJECT_OF_TYPE, at.x, at.y, at.z, radius,
                                model, false, false, false);
}

// Deletes the object and sets the variable to 0; a variable holding 0 is fine.
inline void deleteObject(Object* object) {
    invokeNative(natives::DELETE_OBJECT, object);
}
