#include "emulator/natives/areas.h"

namespace {

// The closest object of the model within the radius (3D); on equal distances the older one.
const EntityState* closestObject(const World& world, Vec3 centre, float radius, std::uint32_t model,
                                 bool skipScriptHostObjects) {
    const EntityState* best = nullptr;
    float bestDistance = 0.0f;
    for (const auto& [handle, entity] : world.entities) {
        if (entity.type != EntityType::Object || entity.model != model ||
            (skipScriptHostObjects && entity.scriptHostObject)) {
            continue;
        }
        const float distance = distance3d(world.positionOf(entity), centre);
        if (distance <= radius && (best == nullptr || distance < bestDistance)) {
            best = &entity;
            bestDistance = distance;
        }
    }
    return best;
}

void doesObjectOfTypeExistAtCoords(CallContext& call) {
    const auto model = call.arg<std::uint32_t>(4);
    call.result(closestObject(call.world(), call.vec(0), call.arg<float>(3), model, false) !=
                nullptr);
}

void createObject(CallContext& call) {
    World& world = call.world();
    const auto model = call.arg<std::uint32_t>(0);
    const std::int32_t handle = world.addEntity(EntityType::Object, model, call.vec(1));
    world.entities.at(handle).scriptHostObject = call.arg<bool>(5);
    call.result(handle);
    call.event(world.nameOf(model) + " #" + std::to_string(handle) + " created");
}

// The three flags exclude mission-script, script-host and networked objects; only script-host
// objects exist here.
void getClosestObjectOfType(CallContext& call) {
    const EntityState* found = closestObject(call.world(), call.vec(0), call.arg<float>(3),
                                             call.arg<std::uint32_t>(4), call.arg<bool>(6));
    call.result(found != nullptr ? found->handle : 0);
}

// Deletes the object the variable names and sets the variable to 0.
void deleteObject(CallContext& call) {
    auto* variable = call.ptr<std::int32_t>(0);
    if (variable == nullptr) {
        call.fail("the object pointer is null");
        return;
    }
    World& world = call.world();
    const EntityState* object = world.find(*variable);
    if (object != nullptr && object->type == EntityType::Object) {
        call.event(world.nameOf(object->model) + " #" + std::to_string(object->handle) +
                   " deleted");
        world.deleteEntity(*variable);
    }
    *variable = 0;
}

}  // namespace

void registerObjectNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::DOES_OBJECT_OF_TYPE_EXIST_AT_COORDS, "ffffib",    doesObjectOfTypeExistAtCoords},
        {natives::CREATE_OBJECT,                       "ifffbbbbb", createObject},
        {natives::GET_CLOSEST_OBJECT_OF_TYPE,          "ffffibbb",  getClosestObjectOfType},
        {natives::DELETE_OBJECT,                       "p",         deleteObject},
    });
    // clang-format on
}
