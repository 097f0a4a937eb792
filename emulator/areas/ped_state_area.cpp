// What the game knows of a ped's mood and attention: fighting the player, answering the
// player's approach, reacting to a threat, drunk, quarrelling with the player, and whether it
// can see the player.
#include "emulator/areas/area_support.h"

namespace {

struct PedMood {
    bool combat = false;   // in combat with the player
    bool engaged = false;  // answers the player's positive interaction
    bool threat = false;
    bool drunk = false;
    bool dispute = false;  // in a dispute with the player
    bool blind = false;    // sees nothing, whatever is in front of it
};

struct PedStateArea final : Area {
    PerEntity<PedMood> moods;

    void registerNatives(NativeTable& table) override;
    std::span<const PedFlag> pedFlags() const override;
    void forget(std::int32_t handle) override { moods.erase(handle); }
    // Moods are the game's own.
    void buildAnew(World&, const NewHandles& newHandles) override { moods.renumber(newHandles); }
};

PedMood moodOf(World& world, std::int32_t ped) {
    const PedMood* mood = world.area<PedStateArea>().moods.find(ped);
    return mood != nullptr ? *mood : PedMood{};
}

bool isPlayer(CallContext& call, std::size_t index) {
    return call.arg<std::int32_t>(index) == call.world().player.ped;
}

void isPedInCombat(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(moodOf(call.world(), ped->handle).combat && isPlayer(call, 1));
    }
}

// Also while the player targets the ped.
void getIsPedRespondingToPositiveInteraction(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr || !playerArg(call, 1)) {
        return;
    }
    World& world = call.world();
    call.result(moodOf(world, ped->handle).engaged || world.player.target == ped->handle);
}

void isPedRespondingToThreat(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(moodOf(call.world(), ped->handle).threat);
    }
}

void isPedDrunk(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(moodOf(call.world(), ped->handle).drunk);
    }
}

// The other ped may be 0: a dispute with anyone.
void getIsPedInDisputeWithPed(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        const bool withPlayer = isPlayer(call, 1) || call.arg<std::int32_t>(1) == 0;
        call.result(moodOf(call.world(), ped->handle).dispute && withPlayer);
    }
}

// The second entity stands in the half-space the first one faces (heading 0 faces +y, angles
// turn counter-clockwise), and the first is not blind.
void hasEntityClearLosToEntityInFront(CallContext& call) {
    const EntityState* viewer = entityArg(call, 0);
    const EntityState* seen = entityArg(call, 1);
    if (viewer == nullptr || seen == nullptr) {
        return;
    }
    World& world = call.world();
    const Vec3 facing = rotateByHeading({0.0f, 1.0f, 0.0f}, viewer->heading);
    const Vec3 towards = world.positionOf(*seen) - world.positionOf(*viewer);
    const bool inFront = facing.x * towards.x + facing.y * towards.y > 0.0f;
    call.result(inFront && !moodOf(world, viewer->handle).blind);
}

template <bool PedMood::*Field>
void setMood(World& world, std::int32_t ped, bool on) {
    world.area<PedStateArea>().moods[ped].*Field = on;
}

// clang-format off
constexpr PedFlag PED_FLAGS[] = {
    {"combat",  setMood<&PedMood::combat>},
    {"engaged", setMood<&PedMood::engaged>},
    {"threat",  setMood<&PedMood::threat>},
    {"drunk",   setMood<&PedMood::drunk>},
    {"dispute", setMood<&PedMood::dispute>},
    {"blind",   setMood<&PedMood::blind>},
};
// clang-format on

void PedStateArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::IS_PED_IN_COMBAT,                              "ii",  isPedInCombat},
        {natives::GET_IS_PED_RESPONDING_TO_POSITIVE_INTERACTION, "ii",  getIsPedRespondingToPositiveInteraction},
        {natives::IS_PED_RESPONDING_TO_THREAT,                   "i",   isPedRespondingToThreat},
        {natives::IS_PED_DRUNK,                                  "i",   isPedDrunk},
        {natives::GET_IS_PED_IN_DISPUTE_WITH_PED,                "ii",  getIsPedInDisputeWithPed},
        {natives::HAS_ENTITY_CLEAR_LOS_TO_ENTITY_IN_FRONT,       "iii", hasEntityClearLosToEntityInFront},
    });
    // clang-format on
}

std::span<const PedFlag> PedStateArea::pedFlags() const {
    return PED_FLAGS;
}

}  // namespace

void addPedStateArea(World& world) {
    world.addArea<PedStateArea>();
}
