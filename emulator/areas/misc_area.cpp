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

ControlReply seed(Emulator& emu, const Args& args) {
    emu.world.random.seed(args.whole<std::uint32_t>(0));
    return ok();
}

ControlReply randomFixed(Emulator& emu, const Args& args) {
    if (args.is(0, "off")) {
        emu.world.random.unpin();
    } else {
        emu.world.random.pin(args.whole<std::int32_t>(0));
    }
    return ok();
}

constexpr Placeholder SEED = {"N", Takes::WHOLE, "a seed", 0, placeholders::UINT32_HIGH, "7"};
constexpr Placeholder DRAW = {
    "N", Takes::WHOLE, "a draw", placeholders::INT32_LOW, placeholders::INT32_HIGH, "0"};

// clang-format off
constexpr Verb VERBS[] = {
    {"seed N", seed, DocTable::TIME, "seeds the world's random numbers", {&SEED}},
    {"random fixed N|off", randomFixed, DocTable::TIME,
     "every random draw answers N (held inside the range asked for), or draws again", {&DRAW}},
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
