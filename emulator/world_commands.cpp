#include <cmath>

#include "badge/law_offices.h"
#include "emulator/control.h"

namespace {

ControlReply placePlayer(World& world, const Words& words) {
    EntityState& ped = world.playerPed();
    std::uint32_t office = 0;
    if (words.size() == 4 && words[2] == "office" && parseUnsigned(words[3], office)) {
        if (office < 1 || office > LAW_OFFICE_COUNT) {
            return badCommand("there are law offices 1 to " + std::to_string(LAW_OFFICE_COUNT));
        }
        const Vector3& spot = lawOffices[office - 1];
        ped.position = {spot.x, spot.y, spot.z};
        return ok();
    }
    double x = 0;
    double y = 0;
    double z = 0;
    double heading = ped.heading;
    const bool valid = (words.size() == 5 || words.size() == 6) && parseNumber(words[2], x) &&
                       parseNumber(words[3], y) && parseNumber(words[4], z) &&
                       (words.size() == 5 || parseNumber(words[5], heading));
    if (!valid) {
        return badCommand("usage: player at X Y Z [HEADING], or player at office N");
    }
    ped.position = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    ped.heading = static_cast<float>(heading);
    return ok();
}

ControlReply playerTarget(World& world, const Words& words) {
    if (words.size() != 3) {
        return badCommand("usage: player target PED|none");
    }
    if (words[2] == "none") {
        world.player.target = 0;
        return ok();
    }
    const EntityState* ped = world.findLabel(words[2]);
    if (ped == nullptr) {
        return badCommand("no ped named " + words[2]);
    }
    world.player.target = ped->handle;
    return ok();
}

ControlReply usePrompt(Emulator& emu, const Words& words) {
    const std::string text = joinFrom(words, 2);
    for (auto& [handle, prompt] : emu.world.prompts) {
        if (prompt.shown() && prompt.text == text) {
            prompt.completionPending = true;
            emu.event("player uses the prompt \"" + text + "\"");
            return ok();
        }
    }
    return expectationFailed("a shown prompt \"" + text + "\" to use", "none");
}

ControlReply gameRemovesBadge(Emulator& emu) {
    World& world = emu.world;
    const auto attached = world.attachedAt(world.player.ped, CHEST_BONE_INDEX);
    for (std::int32_t handle : attached) {
        emu.event("the game removes " + world.describe(world.entities.at(handle)));
        world.deleteEntity(handle);
    }
    return ok();
}

ControlReply gameRemovesOutfit(Emulator& emu) {
    World& world = emu.world;
    if (world.playerPed().wornCategories.erase(world.hashName("BADGES")) != 0) {
        emu.event("the game takes the BADGES item off the player");
    }
    return ok();
}

// object spawn MODEL at X Y Z, or object spawn MODEL chest DX DY DZ (loose, near the player's
// chest point).
ControlReply spawnObject(Emulator& emu, const Words& words) {
    double v[3] = {0, 0, 0};
    const bool valid = words.size() == 7 && (words[3] == "at" || words[3] == "chest") &&
                       parseNumber(words[4], v[0]) && parseNumber(words[5], v[1]) &&
                       parseNumber(words[6], v[2]);
    if (!valid) {
        return badCommand(
            "usage: object spawn MODEL at X Y Z, or object spawn MODEL chest DX DY DZ");
    }
    World& world = emu.world;
    Vec3 at{static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
    if (words[3] == "chest") {
        at = world.bonePosition(world.playerPed(), CHEST_BONE_INDEX) + at;
    }
    const std::int32_t handle = world.addEntity(EntityType::Object, world.hashName(words[2]), at);
    emu.event(world.describe(world.entities.at(handle)) + " placed in the world");
    return ok();
}

ControlReply gate(World& world, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return badCommand("usage: gate control|mission|incident on|off");
    }
    if (words[1] == "control") {
        world.gates.playerControl = on;
    } else if (words[1] == "mission") {
        world.gates.missionActive = on;
    } else if (words[1] == "incident") {
        world.gates.lawIncident = on;
    } else {
        return badCommand("usage: gate control|mission|incident on|off");
    }
    return ok();
}

// Flags: dead, animal, stale (listed by the scan but gone), switch (lawman switch on),
// type=N (ped type), heading=DEGREES.
bool applyPedFlag(EntityState& ped, const std::string& flag) {
    double number = 0;
    if (flag == "dead") {
        ped.dead = true;
    } else if (flag == "animal") {
        ped.human = false;
    } else if (flag == "stale") {
        ped.stale = true;
    } else if (flag == "switch") {
        ped.speechStopped = true;
    } else if (flag.rfind("type=", 0) == 0 && parseNumber(flag.substr(5), number)) {
        ped.pedType = static_cast<std::int32_t>(number);
    } else if (flag.rfind("heading=", 0) == 0 && parseNumber(flag.substr(8), number)) {
        ped.heading = static_cast<float>(number);
    } else {
        return false;
    }
    return true;
}

ControlReply spawnPed(World& world, const Words& words) {
    double x = 0;
    double y = 0;
    double z = 0;
    if (words.size() < 7 || !parseNumber(words[4], x) || !parseNumber(words[5], y) ||
        !parseNumber(words[6], z)) {
        return badCommand("usage: ped spawn NAME MODEL X Y Z [flags...]");
    }
    if (world.findLabel(words[2]) != nullptr) {
        return badCommand("a ped named " + words[2] + " exists already");
    }
    const Vec3 at{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    const std::int32_t handle = world.addEntity(EntityType::Ped, world.hashName(words[3]), at);
    EntityState& ped = world.entities.at(handle);
    ped.label = words[2];
    for (std::size_t i = 7; i < words.size(); ++i) {
        if (!applyPedFlag(ped, words[i])) {
            world.deleteEntity(handle);
            return badCommand("unknown ped flag " + words[i]);
        }
    }
    return ok();
}

ControlReply nearbyCount(World& world, const Words& words) {
    double count = 0;
    if (words.size() == 3 && words[2] == "off") {
        world.nearbyCountOverride.reset();
    } else if (words.size() == 3 && parseNumber(words[2], count)) {
        world.nearbyCountOverride = static_cast<std::int32_t>(count);
    } else {
        return badCommand("usage: nearby count N|off");
    }
    return ok();
}

}  // namespace

ControlReply worldCommand(Emulator& emu, const Words& words, bool& handled) {
    handled = true;
    const std::string& verb = words[0];
    const std::string second = words.size() > 1 ? words[1] : "";
    const std::string rest = joinFrom(words, 1);
    if (verb == "player" && second == "at") {
        return placePlayer(emu.world, words);
    }
    if (verb == "player" && second == "target") {
        return playerTarget(emu.world, words);
    }
    if (verb == "prompt" && second == "use" && words.size() > 2) {
        return usePrompt(emu, words);
    }
    if (verb == "game" && rest == "removes badge") {
        return gameRemovesBadge(emu);
    }
    if (verb == "game" && rest == "removes outfit") {
        return gameRemovesOutfit(emu);
    }
    if (verb == "object" && second == "spawn") {
        return spawnObject(emu, words);
    }
    if (verb == "gate") {
        return gate(emu.world, words);
    }
    if (verb == "ped" && second == "spawn") {
        return spawnPed(emu.world, words);
    }
    if (verb == "nearby" && second == "count") {
        return nearbyCount(emu.world, words);
    }
    handled = false;
    return ok();
}
