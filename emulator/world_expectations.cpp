#include <cstdio>
#include <optional>

#include "emulator/control.h"

namespace {

std::string modelsAtChest(const World& world) {
    std::string models;
    for (std::int32_t handle : world.attachedAt(world.player.ped, CHEST_BONE_INDEX)) {
        models += (models.empty() ? "" : ", ") + world.nameOf(world.entities.at(handle).model);
    }
    return models.empty() ? "none" : models;
}

bool parseTriple(const Words& words, std::size_t first, Vec3& v) {
    double x = 0;
    double y = 0;
    double z = 0;
    if (first + 3 > words.size() || !parseNumber(words[first], x) ||
        !parseNumber(words[first + 1], y) || !parseNumber(words[first + 2], z)) {
        return false;
    }
    v = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    return true;
}

bool closeTo(Vec3 a, Vec3 b) {
    return distance3d(a, b) < 1e-4f;
}

std::string formatTriple(Vec3 v) {
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g", static_cast<double>(v.x), static_cast<double>(v.y),
                  static_cast<double>(v.z));
    return text;
}

// expect badge MODEL|none [offset X Y Z] [rotation X Y Z]: exactly that one object hangs at
// the chest point, attached with that offset and rotation.
ControlReply expectBadge(World& world, const Words& words) {
    std::optional<Vec3> offset;
    std::optional<Vec3> rotation;
    for (std::size_t i = 3; i < words.size(); i += 4) {
        Vec3 v;
        if (!parseTriple(words, i + 1, v) || (words[i] != "offset" && words[i] != "rotation")) {
            return badCommand("usage: expect badge MODEL|none [offset X Y Z] [rotation X Y Z]");
        }
        (words[i] == "offset" ? offset : rotation) = v;
    }
    if (words.size() < 3) {
        return badCommand("usage: expect badge MODEL|none [offset X Y Z] [rotation X Y Z]");
    }
    const std::string found = modelsAtChest(world);
    const bool none = words[2] == "none";
    const bool match = none ? found == "none" : found == world.nameOf(world.hashName(words[2]));
    if (!match) {
        return expectationFailed((none ? "no badge" : words[2]) + " at the chest", found);
    }
    if (none) {
        return ok();
    }
    const AttachmentState& at =
        *world.entities.at(world.attachedAt(world.player.ped, CHEST_BONE_INDEX).front()).attachment;
    if ((offset && !closeTo(*offset, at.offset)) ||
        (rotation && !closeTo(*rotation, at.rotation))) {
        return expectationFailed(joinFrom(words, 2), "offset " + formatTriple(at.offset) +
                                                         " rotation " + formatTriple(at.rotation));
    }
    return ok();
}

ControlReply expectObjects(World& world, const Words& words) {
    std::uint32_t wanted = 0;
    if (words.size() != 4 || !parseUnsigned(words[3], wanted)) {
        return badCommand("usage: expect objects MODEL N");
    }
    const std::uint32_t model = world.hashName(words[2]);
    std::uint32_t count = 0;
    for (const auto& [handle, entity] : world.entities) {
        count += (entity.type == EntityType::Object && entity.model == model) ? 1 : 0;
    }
    return count == wanted ? ok()
                           : expectationFailed(std::to_string(wanted) + " " + words[2] + " objects",
                                               std::to_string(count));
}

ControlReply expectOutfit(World& world, const Words& words) {
    bool on = false;
    if (words.size() != 3 || !parseOnOff(words[2], on)) {
        return badCommand("usage: expect outfit on|off");
    }
    const bool worn = world.playerPed().wornCategories.count(world.hashName("BADGES")) != 0;
    return worn == on ? ok()
                      : expectationFailed(std::string("the badge item ") + (on ? "on" : "off"),
                                          worn ? "on" : "off");
}

ControlReply expectPrompt(World& world, const Words& words) {
    const std::string state = words.size() >= 4 ? words.back() : "";
    if (state != "shown" && state != "absent") {
        return badCommand("usage: expect prompt TEXT shown|absent");
    }
    const std::string text = joinFrom(Words(words.begin(), words.end() - 1), 2);
    int shown = 0;
    for (const auto& [handle, prompt] : world.prompts) {
        shown += (prompt.shown() && prompt.text == text) ? 1 : 0;
    }
    const bool wantShown = state == "shown";
    if ((wantShown && shown == 1) || (!wantShown && shown == 0)) {
        return ok();
    }
    return expectationFailed("the prompt \"" + text + "\" " + (wantShown ? "shown once" : "absent"),
                             std::to_string(shown) + " shown");
}

ControlReply expectMessage(World& world, const Words& words) {
    const std::string text = joinFrom(words, 2);
    const std::string last = world.messages.empty() ? "" : world.messages.back().text;
    return last == text && !text.empty()
               ? ok()
               : expectationFailed("the last message \"" + text + "\"",
                                   world.messages.empty() ? "no message" : "\"" + last + "\"");
}

ControlReply expectSwitch(World& world, const Words& words) {
    bool on = false;
    if (words.size() != 4 || !parseOnOff(words[3], on)) {
        return badCommand("usage: expect switch PED on|off");
    }
    const EntityState* ped = world.findLabel(words[2]);
    if (ped == nullptr) {
        return badCommand("no ped named " + words[2]);
    }
    return ped->speechStopped == on ? ok()
                                    : expectationFailed(words[2] + "'s switch " + words[3],
                                                        ped->speechStopped ? "on" : "off");
}

ControlReply expectHostCalls(Emulator& emu, const Words& words) {
    const std::string wanted = words.size() == 3 && words[2] == "none" ? "" : joinFrom(words, 2);
    const std::string found = emu.hostCallsSinceMark();
    return found == wanted
               ? ok()
               : expectationFailed("host calls \"" + wanted + "\"", "\"" + found + "\"");
}

}  // namespace

ControlReply worldExpectation(Emulator& emu, const Words& words, bool& handled) {
    handled = true;
    const std::string what = words.size() > 1 ? words[1] : "";
    if (what == "badge")
        return expectBadge(emu.world, words);
    if (what == "objects")
        return expectObjects(emu.world, words);
    if (what == "outfit")
        return expectOutfit(emu.world, words);
    if (what == "prompt")
        return expectPrompt(emu.world, words);
    if (what == "message")
        return expectMessage(emu.world, words);
    if (what == "switch")
        return expectSwitch(emu.world, words);
    if (what == "host")
        return expectHostCalls(emu, words);
    handled = false;
    return ok();
}
