// The game's clock, name hash, texts, distances and random numbers.
#include "emulator/areas/area_support.h"

namespace {

void getGameTimer(CallContext& call) {
    call.result(static_cast<std::int32_t>(call.gameTime()));
}

void getHashKey(CallContext& call) {
    call.result(call.world().hashName(call.text(0)));
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

void vdist(CallContext& call) {
    call.result(distance3d(call.vec(0), call.vec(3)));
}

// The upper bound is exclusive; draws come from the world's seeded generator.
void getRandomIntInRange(CallContext& call) {
    call.result(call.world().random.inRange(call.arg<std::int32_t>(0), call.arg<std::int32_t>(1)));
}

ControlReply seed(Emulator& emu, const Words& words) {
    std::uint32_t value = 0;
    if (words.size() != 2 || !parseUnsigned(words[1], value)) {
        return usage();
    }
    emu.world.random.seed(value);
    return ok();
}

ControlReply randomFixed(Emulator& emu, const Words& words) {
    std::int32_t value = 0;
    if (words.size() == 3 && words[2] == "off") {
        emu.world.random.unpin();
    } else if (words.size() == 3 && parseInt(words[2], value)) {
        emu.world.random.pin(value);
    } else {
        return usage();
    }
    return ok();
}

// clang-format off
constexpr Verb VERBS[] = {
    {"seed",         "seed N",             seed},
    {"random fixed", "random fixed N|off", randomFixed},
};
// clang-format on

class MiscArea final : public Area {
  public:
    void registerNatives(NativeTable& table) override {
        // clang-format off
        table.add({
            {natives::GET_GAME_TIMER,              "",        getGameTimer},
            {natives::GET_HASH_KEY,                "p",       getHashKey},
            {natives::VAR_STRING,                  "ipp>p",   varString},
            {natives::GET_DISTANCE_BETWEEN_COORDS, "ffffffb", getDistanceBetweenCoords},
            {natives::VDIST,                       "ffffff",  vdist},
            {natives::GET_RANDOM_INT_IN_RANGE,     "ii",      getRandomIntInRange},
        });
        // clang-format on
    }
    std::span<const Verb> verbs() const override { return VERBS; }
};

}  // namespace

void addMiscArea(World& world) {
    world.addArea<MiscArea>();
}
