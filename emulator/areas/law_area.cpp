// The law's view of the player: bounty, bounty hunters, wanted level, incidents, missions.
#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

struct LawArea final : Area {
    std::int32_t bounty = 0;
    bool pursuit = false;  // bounty hunters after the player
    bool wantedDisabled = false;
    bool incident = false;
    bool mission = false;

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    void facts(const Emulator&, GameFacts& facts) const override { facts.mission = mission; }
    // Whether the player can be wanted is a script's setting; the rest is the game's own.
    void buildAnew(World&, const NewHandles&) override { wantedDisabled = false; }
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
    if (area.wantedDisabled != disable) {
        area.wantedDisabled = disable;
        call.emulator().narrate("player", disable ? "cannot be wanted" : "can be wanted again");
    }
}

ControlReply gate(Emulator& emu, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return usage();
    }
    (words[1] == "mission" ? law(emu.world).mission : law(emu.world).incident) = on;
    return ok();
}

ControlReply playerBounty(Emulator& emu, const Words& words) {
    std::int32_t bounty = 0;
    if (words.size() != 3 || !parseInt(words[2], bounty) || bounty < 0) {
        return usage();
    }
    law(emu.world).bounty = bounty;
    return ok();
}

ControlReply playerPursuit(Emulator& emu, const Words& words) {
    if (words.size() != 3 || !parseOnOff(words[2], law(emu.world).pursuit)) {
        return usage();
    }
    return ok();
}

ControlReply expectBounty(Emulator& emu, const Words& words) {
    std::int32_t wanted = 0;
    if (words.size() != 3 || !parseInt(words[2], wanted)) {
        return usage();
    }
    const std::int32_t bounty = law(emu.world).bounty;
    return bounty == wanted ? ok()
                            : expectationFailed("a bounty of " + words[2], std::to_string(bounty));
}

ControlReply expectPursuit(Emulator& emu, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return usage();
    }
    const bool pursuit = law(emu.world).pursuit;
    return pursuit == on ? ok() : expectationFailed("pursuit " + words[2], onOff(pursuit));
}

ControlReply expectWanted(Emulator& emu, const Words& words) {
    if (words.size() != 3 || (words[2] != "enabled" && words[2] != "disabled")) {
        return usage();
    }
    const bool disabled = law(emu.world).wantedDisabled;
    return disabled == (words[2] == "disabled")
               ? ok()
               : expectationFailed("the wanted level " + words[2],
                                   disabled ? "disabled" : "enabled");
}

// clang-format off
constexpr Verb VERBS[] = {
    {"gate mission",   "gate mission on|off",           gate},
    {"gate incident",  "gate incident on|off",          gate},
    {"player bounty",  "player bounty DOLLARS",         playerBounty},
    {"player pursuit", "player pursuit on|off",         playerPursuit},
    {"expect bounty",  "expect bounty DOLLARS",         expectBounty},
    {"expect pursuit", "expect pursuit on|off",         expectPursuit},
    {"expect wanted",  "expect wanted enabled|disabled", expectWanted},
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
