#include "emulator/natives/areas.h"

namespace {

void isLawIncidentActive(CallContext& call) {
    if (call.arg<std::int32_t>(0) != call.world().player.id) {
        call.fail("not the local player");
        return;
    }
    call.result(call.world().gates.lawIncident);
}

}  // namespace

void registerLawNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::IS_LAW_INCIDENT_ACTIVE, "i", isLawIncidentActive},
    });
    // clang-format on
}
