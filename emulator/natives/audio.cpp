#include "emulator/natives/areas.h"

namespace {

// The plug-in's lawman switch.
void stopPedSpeaking(CallContext& call) {
    EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    const bool stop = call.arg<bool>(1);
    if (ped->speechStopped != stop) {
        ped->speechStopped = stop;
        call.event("switch " + std::string(stop ? "on" : "off") + " for " +
                   call.world().describe(*ped));
    }
}

}  // namespace

void registerAudioNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::STOP_PED_SPEAKING, "ib", stopPedSpeaking},
    });
    // clang-format on
}
