#pragma once
#include "host/native_invoker.h"

// The second argument is a bone index, not a bone id.
inline Vector3 getWorldPositionOfEntityBone(Entity entity, std::int32_t boneIndex) {
    return invokeNative<Vector3>(natives::GET_WORLD_POSITION_OF_ENTITY_BONE, entity, boneIndex);
}

struct Attachment {
    Vector3 offset;
    Vector3 rotation;
};

// The trailing flags, and the vertex index among them, are all passed as 1.
inline void attachEntityToEntity(Entity entity, Entity parent, std::int32_t boneIndex,
                                 const Attachment& at) {
    invokeNative(natives::ATTACH_ENTITY_TO_ENTITY, entity, parent, boneIndex, at.offset.x,
                 at.offset.y, at.offset.z, at.rotation.x, at.rotation.y, at.rotation.z, true, true,
                 true, true, 1, true, true, true);
}

inline bool doesEntityExist(Entity entity) {
    return invokeNative<bool>(natives::DOES_ENTITY_EXIST, entity);
}

inline bool isEntityDead(Entity entity) {
    return invokeNative<bool>(natives::IS_ENTITY_DEAD, entity);
}

// The game ignores `alive`; without `realCoords` a rider reads as where his mount is.
struct CoordsFlags {
    bool alive;
    bool realCoords;
};

inline Vector3 getEntityCoords(Entity entity, CoordsFlags flags) {
    return invokeNative<Vector3>(natives::GET_ENTITY_COORDS, entity, flags.alive, flags.realCoords);
}

// How a box test goes: the box marked on screen or not, the height tested too or x and y
// only, and the transport the entity must use (0 any).
struct BoxTest {
    bool highlight;
    bool do3dCheck;
    std::int32_t transportMode;
};
inline constexpr BoxTest FLAT_BOX_TEST = {
    .highlight = false, .do3dCheck = false, .transportMode = 0};

// The box is given by its half-extents.
inline bool isEntityAtCoord(Entity entity, const Vector3& centre, const Vector3& halfSize,
                            BoxTest test) {
    return invokeNative<bool>(natives::IS_ENTITY_AT_COORD, entity, centre.x, centre.y, centre.z,
                              halfSize.x, halfSize.y, halfSize.z, test.highlight, test.do3dCheck,
                              test.transportMode);
}

// Kept as a script-host object, taken over from any other script that holds it.
inline void setEntityAsMissionEntity(Entity entity) {
    invokeNative(natives::SET_ENTITY_AS_MISSION_ENTITY, entity, true, true);
}

// Takes the ped by reference; the game sets the variable to 0.
inline void setPedAsNoLongerNeeded(Ped* ped) {
    invokeNative(natives::SET_PED_AS_NO_LONGER_NEEDED, ped);
}

// The first entity sees the second in front of it.
inline bool hasEntityClearLosToEntityInFront(Entity viewer, Entity seen, std::int32_t traceType) {
    return invokeNative<bool>(natives::HAS_ENTITY_CLEAR_LOS_TO_ENTITY_IN_FRONT, viewer, seen,
                              traceType);
}
