#include "emulator/areas/area_support.h"

EntityState* entityArg(CallContext& call, std::size_t index) {
    EntityState* entity = call.world().find(call.arg<std::int32_t>(index));
    return (entity != nullptr && !entity->stale) ? entity : nullptr;
}

EntityState* pedArg(CallContext& call, std::size_t index) {
    EntityState* entity = entityArg(call, index);
    if (entity != nullptr && entity->type != EntityType::Ped) {
        call.fail("argument " + std::to_string(index + 1) + " is an object, not a ped");
        return nullptr;
    }
    return entity;
}

bool playerArg(CallContext& call, std::size_t index) {
    const auto id = call.arg<std::int32_t>(index);
    if (id != call.world().player.id) {
        call.fail("argument " + std::to_string(index + 1) + " is player " + std::to_string(id) +
                  ", not the local player");
        return false;
    }
    return true;
}
