#pragma once
#include "host/native_invoker.h"

inline void taskPause(Ped ped, std::int32_t ms) {
    invokeNative(natives::TASK_PAUSE, ped, ms);
}

// The last argument, unnamed in the native database, is passed as 0.
inline void taskMoveFollowRoadUsingNavmesh(Ped ped, float moveBlendRatio, const Vector3& to) {
    invokeNative(natives::TASK_MOVE_FOLLOW_ROAD_USING_NAVMESH, ped, moveBlendRatio, to.x, to.y,
                 to.z, 0);
}

// The database leaves the three arguments after the time unnamed: the middle one takes the
// look's flags, the other two are passed as 0.
inline void taskLookAtEntity(Ped ped, Entity target, std::int32_t ms, std::int32_t flags) {
    invokeNative(natives::TASK_LOOK_AT_ENTITY, ped, target, ms, 0, flags, 0);
}
