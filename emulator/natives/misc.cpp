#include "emulator/natives/areas.h"

namespace {

void getGameTimer(CallContext& call) {
    call.result(static_cast<std::int32_t>(call.gameTime()));
}

void getHashKey(CallContext& call) {
    call.result(call.world().hashName(call.text(0)));
}

void getMissionFlag(CallContext& call) {
    call.result(call.world().gates.missionActive);
}

// The game hands out a text it owns; the prompt and message natives take it back.
void varString(CallContext& call) {
    const auto flags = call.arg<std::int32_t>(0);
    if ((flags & 1) != 0) {
        call.fail("the first bit of flags must be clear");
        return;
    }
    const std::string_view type = call.text(1);
    if (type != "LITERAL_STRING") {
        call.fail("only LITERAL_STRING texts are emulated, got " + std::string(type));
        return;
    }
    call.resultWord(call.world().makeGameText(std::string(call.text(2))));
}

void getDistanceBetweenCoords(CallContext& call) {
    const Vec3 a = call.vec(0);
    const Vec3 b = call.vec(3);
    call.result(call.arg<bool>(6) ? distance3d(a, b) : distance2d(a, b));
}

// The upper bound is exclusive; draws come from the world's seeded generator.
void getRandomIntInRange(CallContext& call) {
    call.result(call.world().random.inRange(call.arg<std::int32_t>(0), call.arg<std::int32_t>(1)));
}

}  // namespace

void registerMiscNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::GET_GAME_TIMER,              "",        getGameTimer},
        {natives::GET_HASH_KEY,                "p",       getHashKey},
        {natives::GET_MISSION_FLAG,            "",        getMissionFlag},
        {natives::VAR_STRING,                  "ipp>p",   varString},
        {natives::GET_DISTANCE_BETWEEN_COORDS, "ffffffb", getDistanceBetweenCoords},
        {natives::GET_RANDOM_INT_IN_RANGE,     "ii",      getRandomIntInRange},
    });
    // clang-format on
}
