#include "emulator/natives/areas.h"

void registerAllNatives(NativeTable& table) {
    registerMiscNatives(table);
    registerPlayerNatives(table);
    registerEntityNatives(table);
    registerObjectNatives(table);
    registerPedNatives(table);
    registerAudioNatives(table);
    registerPromptNatives(table);
    registerUilogNatives(table);
    registerLawNatives(table);
}

EntityState* entityArg(CallContext& call, std::size_t index) {
    const auto handle = call.arg<std::int32_t>(index);
    EntityState* entity = call.world().find(handle);
    if (entity == nullptr) {
        call.fail("argument " + std::to_string(index + 1) + " is " + std::to_string(handle) +
                  ", not an existing entity");
    }
    return entity;
}

EntityState* pedArg(CallContext& call, std::size_t index) {
    EntityState* entity = entityArg(call, index);
    if (entity != nullptr && entity->type != EntityType::Ped) {
        call.fail("argument " + std::to_string(index + 1) + " is an object, not a ped");
        return nullptr;
    }
    return entity;
}
