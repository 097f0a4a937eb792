// The player's life: death and the respawn after it, a fall that knocks the badge off, and
// another playable character. What the game does to the badge then is a world option each.
#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

// The player lies dead a few seconds with control on, then the respawn script takes control,
// moves him to a respawn point and holds him there about 8 s (the game's respawn script).
constexpr std::uint32_t DEAD_MS = 4000;
constexpr std::uint32_t FROZEN_MS = 8000;
// Where the respawn point lies from where the player died, unless a story names one.
constexpr Vec3 RESPAWN_AWAY{0.0f, 150.0f, 0.0f};
// A badge knocked off lands on the ground this far beside the player: farther than a badge
// counts as on him.
constexpr float DROPPED_ASIDE = 1.2f;

enum class Respawn { None, Dead, Held };

struct PlayerLifeArea final : Area {
    bool deathDropsBadge = false;
    bool deathMakesNewPed = false;
    bool ragdollDropsBadge = false;
    Respawn respawn = Respawn::None;
    std::uint32_t stageEndsAt = 0;
    Vec3 respawnPoint;
    std::uint32_t respawns = 0;

    std::span<const Verb> verbs() const override;
    void beforeFrame(Emulator& emu) override;
    // A save loaded ends a respawn under way: the player is alive, with control.
    void buildAnew(World& world, const NewHandles&) override {
        if (respawn != Respawn::None) {
            setPlayerControl(world, true);
        }
        respawn = Respawn::None;
    }
    void facts(const Emulator& emu, GameFacts& facts) const override {
        facts.respawns = respawns;
        facts.playerped = static_cast<std::uint32_t>(emu.world.player.ped);
    }
    void report(const World&, JsonWriter& json) const override {
        json.field("respawning", respawn != Respawn::None);
    }
};

PlayerLifeArea& life(World& world) {
    return world.area<PlayerLifeArea>();
}

// What hangs at the player's chest falls to the ground beside him, a loose object.
void dropBadge(Emulator& emu, const char* how) {
    World& world = emu.world;
    const EntityState& ped = world.playerPed();
    const Vec3 aside =
        world.positionOf(ped) + rotateByHeading({DROPPED_ASIDE, 0.0f, 0.0f}, ped.heading);
    for (std::int32_t handle : world.attachedAt(ped.handle, CHEST_BONE_INDEX)) {
        EntityState& badge = world.entities.at(handle);
        badge.attachment.reset();
        badge.position = aside;
        badge.knockedOff = true;
        emu.event(world.describe(handle) + " " + how + ": it lies on the ground");
    }
}

// The game deletes the player's ped and makes a new one of the model where it stood: a new
// handle; what hung on the old one falls to the ground.
void makeNewPlayerPed(Emulator& emu, std::uint32_t model) {
    World& world = emu.world;
    EntityState& old = world.playerPed();
    const Vec3 at = world.positionOf(old);
    const float heading = old.heading;
    dropBadge(emu, "falls off the ped the game deletes");
    old.label.clear();
    const std::int32_t oldHandle = old.handle;
    const std::int32_t handle = world.addEntity(EntityType::Ped, model, at);
    world.deleteEntity(oldHandle);
    EntityState& ped = world.entities.at(handle);
    ped.heading = heading;
    ped.pedType = 0;
    world.player.ped = handle;
    world.labelEntity(ped, "player");
    for (Area* area : world.areas()) {
        area->newPlayerPed(world);
    }
    emu.event("the player is a new ped, " + world.describe(handle));
}

void PlayerLifeArea::beforeFrame(Emulator& emu) {
    if (respawn == Respawn::None ||
        static_cast<std::int32_t>(emu.clock.gameTime - stageEndsAt) < 0) {
        return;
    }
    World& world = emu.world;
    if (respawn == Respawn::Held) {
        setPlayerControl(world, true);
        respawn = Respawn::None;
        emu.event("the respawn ends: the player has control");
        return;
    }
    world.playerPed().dead = false;
    if (deathMakesNewPed) {
        makeNewPlayerPed(emu, world.playerPed().model);
    }
    setPlayerControl(world, false);
    world.playerPed().position = respawnPoint;
    ++respawns;
    respawn = Respawn::Held;
    stageEndsAt = emu.clock.gameTime + FROZEN_MS;
    emu.event("the player respawns: no control, held at the respawn point");
}

ControlReply die(Emulator& emu, Vec3 respawnAt) {
    World& world = emu.world;
    PlayerLifeArea& area = life(world);
    if (area.respawn != Respawn::None) {
        emu.event("the player is dead or respawning already");
        return ok();
    }
    world.playerPed().dead = true;
    emu.event("the player dies");
    if (area.deathDropsBadge) {
        dropBadge(emu, "falls off the dead player");
    }
    area.respawn = Respawn::Dead;
    area.stageEndsAt = emu.clock.gameTime + DEAD_MS;
    area.respawnPoint = respawnAt;
    return ok();
}

ControlReply playerDies(Emulator& emu, const Args&) {
    return die(emu, emu.world.positionOf(emu.world.playerPed()) + RESPAWN_AWAY);
}

ControlReply playerDiesRespawning(Emulator& emu, const Args& args) {
    return die(emu, args.position(0));
}

ControlReply playerRagdoll(Emulator& emu, const Args&) {
    emu.event("the player falls");
    if (life(emu.world).ragdollDropsBadge) {
        dropBadge(emu, "is knocked off by the fall");
    }
    return ok();
}

ControlReply playerBecomes(Emulator& emu, const Args& args) {
    makeNewPlayerPed(emu, emu.world.hashName(args.word(0)));
    return ok();
}

// A world option of this area, on or off.
template <bool PlayerLifeArea::*option>
ControlReply setOption(Emulator& emu, const Args& args) {
    life(emu.world).*option = args.is(0, "on");
    return ok();
}

ControlReply modelPointsOwn(Emulator& emu, const Args& args) {
    emu.world.modelsOwnPoints = args.is(0, "on");
    return ok();
}

// clang-format off
constexpr Verb VERBS[] = {
    {"player dies", playerDies, DocTable::WORLD,
     "the player dies: dead 4 s with control on, then no control, moved 150 north (the respawn "
     "point) and held there 8 s, then control back"},
    {"player dies respawn X Y Z", playerDiesRespawning, DocTable::WORLD,
     "the same, respawning at the point"},
    {"player ragdoll", playerRagdoll, DocTable::WORLD,
     "the player falls or takes a blow, control on the whole time"},
    {"player becomes MODEL", playerBecomes, DocTable::WORLD,
     "another playable character: the game deletes the player's ped and makes a new one of the "
     "model where it stood (a new handle)"},
    {"death drops badge on|off", setOption<&PlayerLifeArea::deathDropsBadge>, DocTable::WORLD,
     "death knocks what hangs at the chest to the ground beside the player (off at start)"},
    {"death new ped on|off", setOption<&PlayerLifeArea::deathMakesNewPed>, DocTable::WORLD,
     "the respawn gives the player a new ped, a new handle (off at start)"},
    {"ragdoll drops badge on|off", setOption<&PlayerLifeArea::ragdollDropsBadge>, DocTable::WORLD,
     "a fall knocks what hangs at the chest to the ground beside the player (off at start)"},
    {"model points own on|off", modelPointsOwn, DocTable::WORLD,
     "another playable model answers attachment point 511 at a point of its own, low on the back "
     "(off at start: at the chest, as the first character's)"},
};
// clang-format on

std::span<const Verb> PlayerLifeArea::verbs() const {
    return VERBS;
}

}  // namespace

void addPlayerLifeArea(World& world) {
    world.addArea<PlayerLifeArea>();
}
