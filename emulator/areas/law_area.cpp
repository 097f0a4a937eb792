// The law's view of the player: bounty, bounty hunters, wanted level, incidents, missions.
#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

struct LawArea final : Area {
    std::int32_t bounty = 0;
    bool pursuit = false;  // bounty hunters after the player
    bool wantedDisabled = false;
    bool wantedSetByGame = false;    // the game's own scripts last set it, as a camp does
    std::uint32_t wantedUndone = 0;  // the running plug-in enabled it after the game disabled it
    bool incident = false;
    bool mission = false;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void facts(const Emulator&, GameFacts& facts) const override {
        facts.mission = mission;
        facts.undidwanted = wantedUndone;
    }
    // Whether the player can be wanted is a script's setting; the rest is the game's own.
    void buildAnew(World&, const NewHandles&) override {
        wantedDisabled = false;
        wantedSetByGame = false;
    }
    // The law's view of the player.
    void report(const World&, JsonWriter& json) const override {
        json.key("law").beginObject();
        json.field("bounty", bounty);
        json.field("pursuit", pursuit);
        json.field("wantedDisabled", wantedDisabled);
        json.field("incident", incident);
        json.field("mission", mission);
        json.endObject();
    }
};

LawArea& law(World& world) {
    return world.area<LawArea>();
}

void isLawIncidentActive(CallContext& call) {
    if (playerArg(call, 0)) {
        call.result(law(call.world()).incident);
    }
}

void getMissionFlag(CallContext& call) {
    call.result(law(call.world()).mission);
}

void clearBounty(CallContext& call) {
    if (!playerArg(call, 0)) {
        return;
    }
    LawArea& area = law(call.world());
    if (area.bounty != 0) {
        call.emulator().narrate("player", "bounty of $" + std::to_string(area.bounty) + " cleared");
        area.bounty = 0;
    }
}

void setBountyHunterPursuitCleared(CallContext& call) {
    LawArea& area = law(call.world());
    if (area.pursuit) {
        call.emulator().narrate("player", "bounty hunters called off");
        area.pursuit = false;
    }
}

void setDisablePlayerWantedLevel(CallContext& call) {
    if (!playerArg(call, 0)) {
        return;
    }
    LawArea& area = law(call.world());
    const bool disable = call.arg<bool>(1);
    if (area.wantedSetByGame && area.wantedDisabled && !disable) {
        ++area.wantedUndone;
    }
    area.wantedSetByGame = false;
    if (area.wantedDisabled != disable) {
        area.wantedDisabled = disable;
        call.emulator().narrate("player", disable ? "cannot be wanted" : "can be wanted again");
    }
}

ControlReply gateMission(Emulator& emu, const Args& args) {
    law(emu.world).mission = args.is(0, "on");
    return ok();
}

// The game's own scripts: a camp or a mission switches the player's wanted level off.
ControlReply gameWanted(Emulator& emu, const Args& args) {
    LawArea& area = law(emu.world);
    area.wantedDisabled = args.is(0, "disabled");
    area.wantedSetByGame = true;
    emu.event(std::string("the game's scripts make the player ") +
              (area.wantedDisabled ? "unable to be wanted" : "able to be wanted"));
    return ok();
}

ControlReply gateIncident(Emulator& emu, const Args& args) {
    law(emu.world).incident = args.is(0, "on");
    return ok();
}

ControlReply playerBounty(Emulator& emu, const Args& args) {
    law(emu.world).bounty = args.whole<std::int32_t>(0);
    return ok();
}

ControlReply playerPursuit(Emulator& emu, const Args& args) {
    law(emu.world).pursuit = args.is(0, "on");
    return ok();
}

ControlReply expectBounty(Emulator& emu, const Args& args) {
    const auto wanted = args.whole<std::int32_t>(0);
    const std::int32_t bounty = law(emu.world).bounty;
    return bounty == wanted
               ? ok()
               : expectationFailed("a bounty of " + args.word(0), std::to_string(bounty));
}

ControlReply expectPursuit(Emulator& emu, const Args& args) {
    const bool on = args.is(0, "on");
    const bool pursuit = law(emu.world).pursuit;
    return pursuit == on ? ok() : expectationFailed("pursuit " + args.word(0), onOff(pursuit));
}

ControlReply expectWanted(Emulator& emu, const Args& args) {
    const bool disabled = law(emu.world).wantedDisabled;
    return disabled == args.is(0, "disabled")
               ? ok()
               : expectationFailed("the wanted level " + args.word(0),
                                   disabled ? "disabled" : "enabled");
}

constexpr Placeholder DOLLARS = {
    "DOLLARS", Takes::WHOLE, "a bounty in dollars", 0, placeholders::INT32_HIGH, "50"};

// clang-format off
constexpr Verb VERBS[] = {
    {"gate mission on|off", gateMission, DocTable::WORLD, "the mission flag (off at start)"},
    {"game wanted disabled|enabled", gameWanted, DocTable::WORLD,
     "the game's own scripts switch the player's wanted level off or on, as a camp or a mission "
     "does"},
    {"gate incident on|off", gateIncident, DocTable::WORLD,
     "a law incident against the player (off at start)"},
    {"player bounty DOLLARS", playerBounty, DocTable::WORLD, "a bounty on the player", {&DOLLARS}},
    {"player pursuit on|off", playerPursuit, DocTable::WORLD, "bounty hunters after the player"},
    {"expect bounty DOLLARS", expectBounty, DocTable::EXPECT, "the bounty on the player",
     {&DOLLARS}},
    {"expect pursuit on|off", expectPursuit, DocTable::EXPECT, "bounty hunters are after the player"},
    {"expect wanted enabled|disabled", expectWanted, DocTable::EXPECT,
     "whether the player can be wanted"},
};
// clang-format on

void LawArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::IS_LAW_INCIDENT_ACTIVE,            "i",  isLawIncidentActive},
        {natives::GET_MISSION_FLAG,                  "",   getMissionFlag},
        {natives::CLEAR_BOUNTY,                      "i",  clearBounty},
        {natives::SET_BOUNTY_HUNTER_PURSUIT_CLEARED, "",   setBountyHunterPursuitCleared},
        {natives::SET_DISABLE_PLAYER_WANTED_LEVEL,   "ib", setDisablePlayerWantedLevel},
    });
    // clang-format on
}

std::span<const Verb> LawArea::verbs() const {
    return VERBS;
}

}  // namespace

void addLawArea(World& world) {
    world.addArea<LawArea>();
}
