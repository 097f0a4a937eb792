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

// A door's spot, by its hash.
ControlReply doorSpot(const std::string& word, Vec3& at) {
    std::uint32_t hash = 0;
    if (!parseUnsigned(word, hash)) {
        return usage();
    }
    for (const atlas::Door& door : atlas::OFFICE_DOORS) {
        if (door.hash == hash) {
            at = door.at;
            return ok();
        }
    }
    return badCommand("no office door " + word + " (docs/reference.md lists them)");
}

// Office N's menu spot, or the middle of door box N, numbered from 1.
template <typename Place, std::size_t COUNT>
ControlReply numbered(const std::string& word, const Place (&places)[COUNT], const char* what,
                      Vec3 (*spot)(const Place&), Vec3& at) {
    std::uint32_t n = 0;
    if (!parseUnsigned(word, n)) {
        return usage();
    }
    if (n < 1 || n > COUNT) {
        return badCommand("there are " + std::string(what) + " 1 to " + std::to_string(COUNT));
    }
    at = spot(places[n - 1]);
    return ok();
}

// player at office N, at door HASH or at box N: a named place of the atlas.
ControlReply placeInAtlas(const Words& words, Vec3& at) {
    if (words[2] == "door") {
        return doorSpot(words[3], at);
    }
    if (words[2] == "box") {
        return numbered(
            words[3], atlas::DOOR_BOXES, "door boxes",
            +[](const atlas::DoorBox& box) { return box.centre; }, at);
    }
    return numbered(
        words[3], atlas::OFFICES, "law offices",
        +[](const atlas::Office& office) { return office.spot; }, at);
}

ControlReply placePlayer(Emulator& emu, const Words& words) {
    EntityState& ped = emu.world.playerPed();
    const bool named =
        words.size() == 4 && (words[2] == "office" || words[2] == "door" || words[2] == "box");
    if (named) {
        Vec3 at;
        ControlReply reply = placeInAtlas(words, at);
        if (reply.code == TSW_OK) {
            ped.position = at;
        }
        return reply;
    }
    Vec3 at;
    float heading = ped.heading;
    if ((words.size() != 5 && words.size() != 6) || !parseTriple(words, 2, at) ||
        (words.size() == 6 && !parseFloat(words[5], heading))) {
        return usage();
    }
    ped.position = at;
    ped.heading = heading;
    return ok();
}

ControlReply playerTarget(Emulator& emu, const Words& words) {
    if (words.size() != 3) {
        return usage();
    }
    World& world = emu.world;
    if (words[2] == "none") {
        world.player.target = 0;
        return ok();
    }
    ControlReply reply;
    const EntityState* ped = namedPed(world, words[2], reply);
    if (ped == nullptr) {
        return reply;
    }
    world.player.target = ped->handle;
    return ok();
}

ControlReply gateControl(Emulator& emu, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return usage();
    }
    playerArea(emu.world).control = on;
    return ok();
}

// clang-format off
constexpr Verb VERBS[] = {
    {"player at",     "player at X Y Z [HEADING]\n"
                      "player at office N\n"
                      "player at door HASH\n"
                      "player at box N",           placePlayer},
    {"player target", "player target PED|none",    playerTarget},
    {"gate control",  "gate control on|off",       gateControl},
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
    for (std::size_t i = 0; i < atlas::OFFICE_COUNT; ++i) {
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

void addPlayerArea(World& world) {
    world.addArea<PlayerArea>();
}
