#include <cmath>
#include <cstdio>

#include "emulator/natives/areas.h"

namespace {

void getWorldPositionOfEntityBone(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        call.result(call.world().bonePosition(*entity, call.arg<std::int32_t>(1)));
    }
}

std::string describeAttachment(const World& world, const EntityState& object,
                               const EntityState& parent, const AttachmentState& at) {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  " at bone %d, offset %.3f %.3f %.3f, rotation %.1f %.1f %.1f", at.bone,
                  static_cast<double>(at.offset.x), static_cast<double>(at.offset.y),
                  static_cast<double>(at.offset.z), static_cast<double>(at.rotation.x),
                  static_cast<double>(at.rotation.y), static_cast<double>(at.rotation.z));
    const std::string parentName = parent.label.empty() ? world.nameOf(parent.model) : parent.label;
    return world.nameOf(object.model) + " #" + std::to_string(object.handle) + " attached to " +
           parentName + numbers;
}

void attachEntityToEntity(CallContext& call) {
    EntityState* entity = entityArg(call, 0);
    const EntityState* parent = entityArg(call, 1);
    if (entity == nullptr || parent == nullptr) {
        return;
    }
    if (entity == parent) {
        call.fail("an entity cannot be attached to itself");
        return;
    }
    AttachmentState at;
    at.parent = parent->handle;
    at.bone = call.arg<std::int32_t>(2);
    at.offset = call.vec(3);
    at.rotation = call.vec(6);
    entity->attachment = at;
    call.event(describeAttachment(call.world(), *entity, *parent, at));
}

void doesEntityExist(CallContext& call) {
    const EntityState* entity = call.world().find(call.arg<std::int32_t>(0));
    call.result(entity != nullptr && !entity->stale);
}

// A handle that names nothing is not dead (the game asserts on it; 0 is the safe answer).
void isEntityDead(CallContext& call) {
    const EntityState* entity = call.world().find(call.arg<std::int32_t>(0));
    call.result(entity != nullptr && entity->dead);
}

void getEntityCoords(CallContext& call) {
    if (const EntityState* entity = entityArg(call, 0)) {
        call.result(call.world().positionOf(*entity));
    }
}

// Half-extents; z counts only with the 3D flag (the ninth argument).
void isEntityAtCoord(CallContext& call) {
    const EntityState* entity = entityArg(call, 0);
    if (entity == nullptr) {
        return;
    }
    const Vec3 d = call.world().positionOf(*entity) - call.vec(1);
    const Vec3 half = call.vec(4);
    const bool inside = std::fabs(d.x) <= half.x && std::fabs(d.y) <= half.y &&
                        (!call.arg<bool>(8) || std::fabs(d.z) <= half.z);
    call.result(inside);
}

}  // namespace

void registerEntityNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::GET_WORLD_POSITION_OF_ENTITY_BONE, "ii",                getWorldPositionOfEntityBone},
        {natives::ATTACH_ENTITY_TO_ENTITY,           "iiiffffffbbbbibbb", attachEntityToEntity},
        {natives::DOES_ENTITY_EXIST,                 "i",                 doesEntityExist},
        {natives::IS_ENTITY_DEAD,                    "i",                 isEntityDead},
        {natives::GET_ENTITY_COORDS,                 "ibb",               getEntityCoords},
        {natives::IS_ENTITY_AT_COORD,                "iffffffbbi",        isEntityAtCoord},
    });
    // clang-format on
}
