#pragma once
#include "host/native_invoker.h"

inline void taskPause(Ped ped, std::int32_t ms) {
    invokeNative(natives::TASK_PAUSE, ped, ms);
}

inline void taskMoveFollowRoadUsingNavmesh(Ped ped, float moveBlendRatio, const Vector3& to,
                                           std::int32_t p5) {
    invokeNative(natives::TASK_MOVE_FOLLOW_ROAD_USING_NAVMESH, ped, moveBlendRatio, to.x, to.y,
                 to.z, p5);
}

inline void taskLookAtEntity(Ped ped, Entity target, std::int32_t ms, std::int32_t p3,
                             std::int32_t p4, std::int32_t p5) {
    invokeNative(natives::TASK_LOOK_AT_ENTITY, ped, target, ms, p3, p4, p5);
}
