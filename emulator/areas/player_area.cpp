// The player: the ped, the target, control, and the one-frame reset flags.
#include <cmath>

#include "emulator/areas/area_support.h"
#include "emulator/atlas.h"
#include "emulator/game_facts.h"

namespace {

struct PlayerArea final : Area {
    bool control = true;
    std::map<std::int32_t, std::uint64_t> resetFlagFrames;  // flag -> frame it was last set in
    // How often the running plug-in asked for control: its badge script asks once a pass, at
    // the attachment check, so a checker counts the script's passes by it.
    std::uint64_t controlAsked = 0;
    std::uint32_t askedBy = 0;  // the plug-in load that asked

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void facts(const Emulator& emu, GameFacts& facts) const override;
    void report(const World&, JsonWriter& json) const override { json.field("control", control); }
    void buildAnew(World&, const NewHandles&) override { resetFlagFrames.clear(); }
};

PlayerArea& playerArea(World& world) {
    return world.area<PlayerArea>();
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
    if (!playerArg(call, 0)) {
        return;
    }
    PlayerArea& area = playerArea(call.world());
    const std::uint32_t instance = call.emulator().pluginInstance();
    area.controlAsked = area.askedBy == instance ? area.controlAsked + 1 : 1;
    area.askedBy = instance;
    call.result(area.control);
}

// Reset flags hold for the frame they are set in only.
void setPlayerResetFlag(CallContext& call) {
    if (!playerArg(call, 0)) {
        return;
    }
    auto& frames = playerArea(call.world()).resetFlagFrames;
    const auto flag = call.arg<std::int32_t>(1);
    if (call.arg<bool>(2)) {
        frames[flag] = call.emulator().clock.frame;
    } else {
        frames.erase(flag);
    }
}

ControlReply placePlayer(Emulator& emu, const Args& args) {
    EntityState& ped = emu.world.playerPed();
    ped.position = args.position(0);
    if (args.given(1)) {
        ped.heading = args.number(1);
    }
    return ok();
}

ControlReply placePlayerAtOffice(Emulator& emu, const Args& args) {
    emu.world.playerPed().position = atlas::OFFICES[args.whole<std::size_t>(0) - 1].spot;
    return ok();
}

ControlReply placePlayerInBox(Emulator& emu, const Args& args) {
    emu.world.playerPed().position = atlas::DOOR_BOXES[args.whole<std::size_t>(0) - 1].centre;
    return ok();
}

ControlReply placePlayerAtDoor(Emulator& emu, const Args& args) {
    const auto hash = args.whole<std::uint32_t>(0);
    for (const atlas::Door& door : atlas::OFFICE_DOORS) {
        if (door.hash == hash) {
            emu.world.playerPed().position = door.at;
            return ok();
        }
    }
    return badCommand("no office door " + args.word(0) + " (docs/reference.md lists them)");
}

ControlReply playerTarget(Emulator& emu, const Args& args) {
    World& world = emu.world;
    if (args.is(0, "none")) {
        world.player.target = 0;
        return ok();
    }
    ControlReply reply;
    const EntityState* ped = namedPed(world, args.word(0), reply);
    if (ped == nullptr) {
        return reply;
    }
    world.player.target = ped->handle;
    return ok();
}

ControlReply gateControl(Emulator& emu, const Args& args) {
    playerArea(emu.world).control = args.is(0, "on");
    return ok();
}

constexpr Placeholder BOX = {
    "N", Takes::WHOLE, "a door box", 1, static_cast<std::int64_t>(std::size(atlas::DOOR_BOXES)),
    "1"};

// clang-format off
constexpr Verb VERBS[] = {
    {"player at X Y Z [HEADING]", placePlayer, DocTable::WORLD, "moves the player's ped"},
    {"player at office N", placePlayerAtOffice, DocTable::WORLD,
     "onto the Nth law office spot, {N} (docs/reference.md names them)", {&OFFICE_NUMBER}},
    {"player at door HASH", placePlayerAtDoor, DocTable::WORLD,
     "onto the office door with that hash"},
    {"player at box N", placePlayerInBox, DocTable::WORLD, "into the middle of door box N, {N}",
     {&BOX}},
    {"player target PED|none", playerTarget, DocTable::WORLD,
     "the ped the player targets (and so engages)"},
    {"gate control on|off", gateControl, DocTable::WORLD,
     "whether the player has control (on at start)"},
};
// clang-format on

void PlayerArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::PLAYER_PED_ID,            "",    playerPedId},
        {natives::PLAYER_ID,                "",    playerId},
        {natives::GET_PLAYER_TARGET_ENTITY, "ip",  getPlayerTargetEntity},
        {natives::IS_PLAYER_CONTROL_ON,     "i",   isPlayerControlOn},
        {natives::SET_PLAYER_RESET_FLAG,    "iib", setPlayerResetFlag},
    });
    // clang-format on
}

std::span<const Verb> PlayerArea::verbs() const {
    return VERBS;
}

// The law office whose menu spot the player stands on (numbered from 1; 0 for none): the spot
// is small across and counts at any height.
std::size_t officeUnderfoot(const World& world) {
    const Vec3 at = world.positionOf(world.playerPed());
    for (std::size_t i = 0; i < atlas::LAW_OFFICE_COUNT; ++i) {
        const Vec3 d = at - atlas::OFFICES[i].spot;
        if (std::fabs(d.x) <= 1.0f && std::fabs(d.y) <= 1.0f) {
            return i + 1;
        }
    }
    return 0;
}

void PlayerArea::facts(const Emulator& emu, GameFacts& facts) const {
    facts.control = control;
    facts.passes = askedBy == emu.pluginInstance() ? controlAsked : 0;
    facts.office = officeUnderfoot(emu.world);
}

}  // namespace

void setPlayerControl(World& world, bool on) {
    playerArea(world).control = on;
}

void addPlayerArea(World& world) {
    world.addArea<PlayerArea>();
}
