#include "emulator/natives/areas.h"

namespace {

bool playerArg(CallContext& call, std::size_t index) {
    const auto id = call.arg<std::int32_t>(index);
    if (id != call.world().player.id) {
        call.fail("argument " + std::to_string(index + 1) + " is player " + std::to_string(id) +
                  ", not the local player");
        return false;
    }
    return true;
}

void playerPedId(CallContext& call) {
    call.result(call.world().player.ped);
}

void playerId(CallContext& call) {
    call.result(call.world().player.id);
}

// Writes the target, or 0 when there is none, and says whether there is one.
void getPlayerTargetEntity(CallContext& call) {
    if (!playerArg(call, 0)) {
        return;
    }
    auto* entity = call.ptr<std::int32_t>(1);
    if (entity == nullptr) {
        call.fail("the entity pointer is null");
        return;
    }
    World& world = call.world();
    const std::int32_t target = world.find(world.player.target) ? world.player.target : 0;
    *entity = target;
    call.result(target != 0);
}

void isPlayerControlOn(CallContext& call) {
    if (playerArg(call, 0)) {
        call.result(call.world().gates.playerControl);
    }
}

void setDisablePlayerWantedLevel(CallContext& call) {
    if (playerArg(call, 0)) {
        call.world().player.wantedLevelDisabled = call.arg<bool>(1);
    }
}

// Reset flags hold for the frame they are set in only.
void setPlayerResetFlag(CallContext& call) {
    if (!playerArg(call, 0)) {
        return;
    }
    auto& frames = call.world().player.resetFlagFrames;
    const auto flag = call.arg<std::int32_t>(1);
    if (call.arg<bool>(2)) {
        frames[flag] = call.emulator().clock.frame;
    } else {
        frames.erase(flag);
    }
}

}  // namespace

void registerPlayerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::PLAYER_PED_ID,                   "",    playerPedId},
        {natives::PLAYER_ID,                       "",    playerId},
        {natives::GET_PLAYER_TARGET_ENTITY,        "ip",  getPlayerTargetEntity},
        {natives::IS_PLAYER_CONTROL_ON,            "i",   isPlayerControlOn},
        {natives::SET_DISABLE_PLAYER_WANTED_LEVEL, "ib",  setDisablePlayerWantedLevel},
        {natives::SET_PLAYER_RESET_FLAG,           "iib", setPlayerResetFlag},
    });
    // clang-format on
}
