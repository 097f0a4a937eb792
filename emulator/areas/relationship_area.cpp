// Relationship groups: which group each ped is in, and what each group holds towards another.
#include <utility>

#include "emulator/areas/area_support.h"
#include "emulator/game_facts.h"

namespace {

struct RelationshipArea final : Area {
    PerEntity<std::uint32_t> groups;
    PerEntity<std::uint32_t> ownGroups;  // as the game put the ped in, before any script
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int32_t> values;  // (a, b) -> value

    void registerNatives(NativeTable& table) override;
    std::span<const Verb> verbs() const override;
    std::span<const PedFlag> pedFlags() const override;
    void start(World& world) override {
        groups[world.player.ped] = world.hashName("PLAYER");
        ownGroups[world.player.ped] = world.hashName("PLAYER");
    }
    // Each ped is back in the group the game put it in; the values between groups are unset.
    void buildAnew(World&, const NewHandles& newHandles) override {
        ownGroups.renumber(newHandles);
        groups.clear();
        for (const auto& [handle, group] : ownGroups) {
            groups[handle] = group;
        }
        values.clear();
    }
    void facts(const Emulator& emu, GameFacts& facts) const override {
        const std::uint32_t* group = groups.find(emu.world.player.ped);
        facts.group = group != nullptr ? emu.world.nameOf(*group) : std::string("none");
    }
    void forget(std::int32_t handle) override {
        groups.erase(handle);
        ownGroups.erase(handle);
    }
    // Each ped's group, as [handle, group] pairs.
    void report(const World& world, JsonWriter& json) const override {
        json.key("groups").beginArray();
        for (const auto& [handle, group] : groups) {
            json.beginArray();
            json.value(handle);
            json.value(world.nameOf(group));
            json.endArray();
        }
        json.endArray();
    }
};

RelationshipArea& relationships(World& world) {
    return world.area<RelationshipArea>();
}

std::uint32_t groupOf(World& world, std::int32_t ped) {
    const std::uint32_t* group = relationships(world).groups.find(ped);
    return group != nullptr ? *group : 0;
}

// How a player reads a ped's move into a group.
std::string joining(const std::string& group) {
    if (group == "REL_CIVMALE" || group == "REL_CIVFEMALE") {
        return "is made a civilian";
    }
    if (group == "REL_GT_FFA") {
        return "turns free-for-all (REL_GT_FFA)";
    }
    return "joins " + group;
}

void setPedRelationshipGroupHash(CallContext& call) {
    const EntityState* ped = pedArg(call, 0);
    if (ped == nullptr) {
        return;
    }
    World& world = call.world();
    const auto group = call.arg<std::uint32_t>(1);
    std::uint32_t& current = relationships(world).groups[ped->handle];
    if (current != group) {
        current = group;
        call.emulator().narrate(world.describe(*ped), joining(world.nameOf(group)), true);
    }
}

void getPedRelationshipGroupHash(CallContext& call) {
    if (const EntityState* ped = pedArg(call, 0)) {
        call.result(groupOf(call.world(), ped->handle));
    }
}

void setRelationshipBetweenGroups(CallContext& call) {
    World& world = call.world();
    const auto value = call.arg<std::int32_t>(0);
    const auto a = call.arg<std::uint32_t>(1);
    const auto b = call.arg<std::uint32_t>(2);
    auto [it, added] = relationships(world).values.try_emplace({a, b}, value);
    if (added || it->second != value) {
        it->second = value;
        call.emulator().narrate("relationships", world.nameOf(a) + " towards " + world.nameOf(b) +
                                                     " " + std::to_string(value));
    }
}

ControlReply expectGroup(Emulator& emu, const Words& words) {
    if (words.size() != 4) {
        return usage();
    }
    ControlReply reply;
    const EntityState* ped = namedPed(emu.world, words[2], reply);
    if (ped == nullptr) {
        return reply;
    }
    const std::uint32_t group = groupOf(emu.world, ped->handle);
    return group == emu.world.hashName(words[3])
               ? ok()
               : expectationFailed(words[2] + " in " + words[3],
                                   group == 0 ? "no group" : emu.world.nameOf(group));
}

// What group A holds towards group B.
ControlReply expectRelationship(Emulator& emu, const Words& words) {
    std::int32_t wanted = 0;
    const bool none = words.size() == 5 && words[4] == "none";
    if (words.size() != 5 || (!none && !parseInt(words[4], wanted))) {
        return usage();
    }
    World& world = emu.world;
    const auto& values = relationships(world).values;
    const auto it = values.find({world.hashName(words[2]), world.hashName(words[3])});
    if (none ? it == values.end() : it != values.end() && it->second == wanted) {
        return ok();
    }
    return expectationFailed(words[2] + " towards " + words[3] + " " + words[4],
                             it == values.end() ? "no value set" : std::to_string(it->second));
}

bool setGroup(World& world, std::int32_t ped, const std::string& name) {
    if (name.empty()) {
        return false;
    }
    RelationshipArea& area = relationships(world);
    area.groups[ped] = world.hashName(name);
    area.ownGroups[ped] = area.groups[ped];
    return true;
}

// clang-format off
constexpr Verb VERBS[] = {
    {"expect group",        "expect group PED|player TEXT",            expectGroup},
    {"expect relationship", "expect relationship TEXT_A TEXT_B VALUE|none", expectRelationship},
};

constexpr PedFlag PED_FLAGS[] = {
    {"group=", nullptr, setGroup},
};
// clang-format on

void RelationshipArea::registerNatives(NativeTable& table) {
    // clang-format off
    table.add({
        {natives::SET_PED_RELATIONSHIP_GROUP_HASH, "ii",  setPedRelationshipGroupHash},
        {natives::GET_PED_RELATIONSHIP_GROUP_HASH, "i",   getPedRelationshipGroupHash},
        {natives::SET_RELATIONSHIP_BETWEEN_GROUPS, "iii", setRelationshipBetweenGroups},
    });
    // clang-format on
}

std::span<const Verb> RelationshipArea::verbs() const {
    return VERBS;
}

std::span<const PedFlag> RelationshipArea::pedFlags() const {
    return PED_FLAGS;
}

}  // namespace

void addRelationshipArea(World& world) {
    world.addArea<RelationshipArea>();
}
