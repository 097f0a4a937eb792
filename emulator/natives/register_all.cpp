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

// A handle of 0, or of an entity that is gone, is no error in the game: the native does
// nothing and answers 0. Scripts rely on that (a ped can vanish between two calls).
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
