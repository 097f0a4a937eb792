#include "emulator/areas/area_support.h"

EntityState* objectForPed(CallContext& call, std::size_t index) {
    call.fail("argument " + std::to_string(index + 1) + " is an object, not a ped");
    return nullptr;
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
